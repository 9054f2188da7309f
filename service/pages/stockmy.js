// The watch-list page: one row per entry, quotes fetched from the page server and handed to
// the client one line per entry.
var M = this.Meridex;
var watchEntries = [];
var alertStates = {};
var lastQuotes = {};

function isEntry(text) {
  return /^i?[0-9]{6}$/.test(text);
}

function rowOf(code) {
  return document.getElementById('sc' + code);
}

function paintAlert(code) {
  var row = rowOf(code);
  if (row) {
    row.className = 'row alert-' + (alertStates[code] || '0');
  }
}

function paintQuote(code) {
  var q = lastQuotes[code];
  var row = rowOf(code);
  if (!row || !q) {
    return;
  }
  var cls = M.trendClass(q.change);
  document.getElementById('nm' + code).textContent = q.name;
  var price = document.getElementById('pr' + code);
  price.textContent = q.price;
  price.className = 'num ' + cls;
  var change = document.getElementById('ch' + code);
  change.textContent = M.signed(q.change) + '%';
  change.className = 'num ' + cls;
}

function makeRow(code) {
  var digits = code.replace(/^i/, '');
  var actions = [
    M.el('a', {
      className: 'act bell', title: '提醒设置', text: '铃',
      onclick: function () {
        var q = lastQuotes[code];
        if (q) {
          M.callClient('CB_ShowWarningSetDlg', q.name + '|' + q.price);
        }
      }
    })
  ];
  if (code.charAt(0) !== 'i') {
    actions.push(M.el('a', {
      className: 'act', title: '诊断', text: '诊',
      onclick: function () { M.callClient('CB_DiagnStock', digits); }
    }));
  }
  actions.push(M.el('a', {
    className: 'act del', title: '删除', text: '删',
    onclick: function () { M.callClient('CB_DeleteSelfStock', code); }
  }));
  return M.el('tr', { id: 'sc' + code, className: 'row alert-0' }, [
    M.el('td', { className: 'name' }, [
      M.el('div', { id: 'nm' + code, text: '--' }),
      M.el('div', { className: 'code', text: digits })
    ]),
    M.el('td', { id: 'pr' + code, className: 'num', text: '--' }),
    M.el('td', { id: 'ch' + code, className: 'num', text: '--' }),
    M.el('td', { className: 'acts' }, actions)
  ]);
}

function render() {
  var body = document.getElementById('rows');
  M.clear(body);
  watchEntries.forEach(function (code) {
    body.appendChild(makeRow(code));
    paintQuote(code);
    paintAlert(code);
  });
  M.show(document.getElementById('empty'), watchEntries.length === 0);
}

// Fetches quotes for every entry and paints them; with `report` each entry's quote line
// goes to the client, in the order of the list.
function fetchQuotes(report) {
  var entries = watchEntries.slice();
  if (entries.length === 0) {
    return Promise.resolve(0);
  }
  return M.getJson('/soft/quotes?codes=' + entries.join(',')).then(function (reply) {
    var byCode = {};
    (reply.quotes || []).forEach(function (q) { byCode[q.code] = q; });
    var sent = 0;
    entries.forEach(function (code) {
      var q = byCode[code];
      if (!q) {
        return;
      }
      lastQuotes[code] = q;
      paintQuote(code);
      if (report && M.callClient('CB_RefreshSelfStockInfo', M.quoteLine(q))) {
        sent += 1;
      }
    });
    document.getElementById('clock').textContent = (reply.time || '').slice(11);
    return sent;
  }, function () {
    document.getElementById('clock').textContent = '网络异常';
    return 0;
  });
}

function stockreload(list) {
  var seen = {};
  watchEntries = String(list || '').split('|').filter(function (code) {
    var fresh = isEntry(code) && !seen[code];
    seen[code] = true;
    return fresh;
  });
  render();
  return fetchQuotes(false);
}

function sendrefreshrequest() {
  return fetchQuotes(true);
}

function changealertstate(selector, state) {
  var code = String(selector || '').replace(/^#sc/, '');
  alertStates[code] = String(state);
  paintAlert(code);
}

function buildPage() {
  var app = document.getElementById('app');
  app.appendChild(M.el('div', { className: 'bar' }, [
    M.el('span', { className: 'title', text: '我的自选股' }),
    M.el('span', { id: 'clock', className: 'clock' }),
    M.el('a', {
      className: 'btn', text: '刷新',
      onclick: function () {
        if (!M.callClient('CB_BtnRefreshSelfStock')) {
          fetchQuotes(false);
        }
      }
    })
  ]));
  app.appendChild(M.el('table', { className: 'list' }, [
    M.el('thead', {}, [M.el('tr', {}, [
      M.el('th', { text: '名称' }), M.el('th', { text: '现价' }),
      M.el('th', { text: '涨跌幅' }), M.el('th', { text: '' })
    ])]),
    M.el('tbody', { id: 'rows' })
  ]));
  app.appendChild(M.el('div', { id: 'empty', className: 'empty', text: '自选股为空，请在上方搜索框中添加股票。' }));
  render();
  // Keeps the figures fresh on screen; the client's own timer asks for the quote lines.
  setInterval(function () {
    if (document.visibilityState !== 'hidden') {
      fetchQuotes(false);
    }
  }, 5000);
  if (!M.hosted()) {
    // In an ordinary browser: the demo list, so the page shows something.
    var fromUrl = /[?&]list=([^&]*)/.exec(location.search || '');
    stockreload(fromUrl ? decodeURIComponent(fromUrl[1]) : '600000|000001|i000001|300750');
  }
}

buildPage();
