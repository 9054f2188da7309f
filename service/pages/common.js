// Shared by the three pages: the bridge to the client, quote fetching and small DOM helpers.
// Opened in an ordinary browser the pages work the same; calls to the client are skipped.
(function (global) {
  'use strict';

  // The client's bridge defines the CB_ functions on window.external; a plain browser
  // has no such functions (Chromium's own window.external has none of them).
  function callClient(name, arg) {
    var ext = global.external;
    if (!ext || typeof ext[name] !== 'function') {
      return false;
    }
    try {
      if (arguments.length > 1) {
        ext[name](String(arg));
      } else {
        ext[name]();
      }
      return true;
    } catch (e) {
      return false;
    }
  }

  function hosted() {
    var ext = global.external;
    return !!ext && typeof ext.CB_IsOurCustomBrowser === 'function';
  }

  function getJson(url) {
    return global.fetch(url, { cache: 'no-store' }).then(function (r) {
      if (!r.ok) {
        throw new Error('HTTP ' + r.status);
      }
      return r.json();
    });
  }

  // The client's quote line: code|name|price|change|volume ratio|turnover.
  function quoteLine(q) {
    return [q.code, q.name, q.price, q.change, q.volumeratio, q.turnover].join('|');
  }

  // Red up, green down, as A-share users read prices.
  function trendClass(change) {
    var v = parseFloat(change);
    if (v > 0) {
      return 'up';
    }
    if (v < 0) {
      return 'down';
    }
    return 'flat';
  }

  function signed(text) {
    return parseFloat(text) > 0 ? '+' + text : String(text);
  }

  function el(tag, attrs, children) {
    var node = global.document.createElement(tag);
    var key;
    attrs = attrs || {};
    for (key in attrs) {
      if (Object.prototype.hasOwnProperty.call(attrs, key)) {
        if (key === 'text') {
          node.textContent = attrs[key];
        } else if (key === 'className') {
          node.className = attrs[key];
        } else if (key === 'onclick') {
          node.addEventListener('click', attrs[key]);
        } else {
          node.setAttribute(key, attrs[key]);
        }
      }
    }
    (children || []).forEach(function (c) {
      node.appendChild(c);
    });
    return node;
  }

  function clear(node) {
    while (node.firstChild) {
      node.removeChild(node.firstChild);
    }
  }

  function show(node, visible) {
    node.style.display = visible ? '' : 'none';
  }

  global.Meridex = {
    callClient: callClient,
    hosted: hosted,
    getJson: getJson,
    quoteLine: quoteLine,
    trendClass: trendClass,
    signed: signed,
    el: el,
    clear: clear,
    show: show
  };
})(this);
