// The diagnosis page: one stock with its price line of the day so far, key figures and a
// summary in plain words.
var M = this.Meridex;
var shown = null;

function figure(label, value, cls) {
  return M.el('div', { className: 'fig' }, [
    M.el('span', { className: 'label', text: label }),
    M.el('span', { className: 'num ' + (cls || ''), text: value })
  ]);
}

// An SVG line of the minute prices around the previous close, drawn to the panel's width.
function chartSvg(points, prevClose, limitUp, limitDown) {
  var w = 270, h = 110, minutes = 241;
  var values = points.map(parseFloat);
  var base = parseFloat(prevClose);
  var span = Math.max.apply(null, values.map(function (v) { return Math.abs(v - base); }).concat([base * 0.01]));
  var y = function (v) { return (h / 2 - (v - base) / span * (h / 2 - 4)).toFixed(1); };
  var x = function (i) { return (i * (w - 1) / (minutes - 1)).toFixed(1); };
  var path = values.map(function (v, i) { return (i ? 'L' : 'M') + x(i) + ' ' + y(v); }).join(' ');
  var last = values.length ? values[values.length - 1] : base;
  var colour = last > base ? '#e0301e' : (last < base ? '#1a9d3c' : '#666');
  return '<svg xmlns="http://www.w3.org/2000/svg" width="' + w + '" height="' + h + '" viewBox="0 0 ' + w + ' ' + h + '">' +
    '<rect width="' + w + '" height="' + h + '" fill="#fffdf7" stroke="#ddd"/>' +
    '<line x1="0" x2="' + w + '" y1="' + h / 2 + '" y2="' + h / 2 + '" stroke="#bbb" stroke-dasharray="3 3"/>' +
    '<line x1="' + (w / 2) + '" x2="' + (w / 2) + '" y1="0" y2="' + h + '" stroke="#eee"/>' +
    '<path d="' + path + '" fill="none" stroke="' + colour + '" stroke-width="1.4"/>' +
    '<text x="2" y="10" font-size="9" fill="#999">' + (base + span).toFixed(2) + '</text>' +
    '<text x="2" y="' + (h - 3) + '" font-size="9" fill="#999">' + (base - span).toFixed(2) + '</text>' +
    '</svg>';
}

// A few plain sentences from the day's figures.
function summaryOf(q, market) {
  var change = parseFloat(q.change), turnover = parseFloat(q.turnover), ratio = parseFloat(q.volumeratio);
  var parts = [];
  if (q.price === q.limitup && parseFloat(q.limitup) > 0) {
    parts.push(q.name + '今日涨停，买盘强劲。');
  } else if (q.price === q.limitdown && parseFloat(q.limitdown) > 0) {
    parts.push(q.name + '今日跌停，抛压沉重，注意风险。');
  } else if (change >= 5) {
    parts.push(q.name + '今日大涨' + q.change + '%，走势强劲。');
  } else if (change > 0) {
    parts.push(q.name + '今日上涨' + q.change + '%。');
  } else if (change <= -5) {
    parts.push(q.name + '今日大跌' + q.change.replace('-', '') + '%，注意风险。');
  } else if (change < 0) {
    parts.push(q.name + '今日下跌' + q.change.replace('-', '') + '%。');
  } else {
    parts.push(q.name + '今日平盘。');
  }
  if (market) {
    var diff = change - parseFloat(market.change);
    parts.push(diff > 0.5 ? '表现强于大盘。' : (diff < -0.5 ? '表现弱于大盘。' : '与大盘走势相近。'));
  }
  parts.push(turnover >= 7 ? '换手率' + q.turnover + '%，交易十分活跃。'
    : (turnover >= 3 ? '换手率' + q.turnover + '%，交易活跃。' : '换手率' + q.turnover + '%，交易清淡。'));
  parts.push(ratio >= 2 ? '量比' + q.volumeratio + '，明显放量。'
    : (ratio < 0.8 ? '量比' + q.volumeratio + '，成交缩量。' : '量比' + q.volumeratio + '，成交量平稳。'));
  return parts.join('');
}

function paint(reply, market) {
  var q = reply.quote;
  var cls = M.trendClass(q.change);
  shown = q;
  document.getElementById('title').textContent = q.name + ' ' + q.code.replace(/^i/, '');
  var price = document.getElementById('price');
  price.textContent = q.price + '  ' + M.signed(q.change) + '%';
  price.className = 'bigprice ' + cls;
  document.getElementById('chart').innerHTML = chartSvg(reply.points || [], q.prevclose, q.limitup, q.limitdown);
  var figs = document.getElementById('figures');
  M.clear(figs);
  [['今开', q.open], ['昨收', q.prevclose], ['最高', q.high], ['最低', q.low],
    ['涨停', q.limitup], ['跌停', q.limitdown], ['换手率', q.turnover + '%'], ['量比', q.volumeratio]]
    .forEach(function (f) { figs.appendChild(figure(f[0], f[1])); });
  document.getElementById('summary').textContent = summaryOf(q, market);
  document.getElementById('time').textContent = reply.time || '';
}

function stockreload(code) {
  code = String(code || '').replace(/\s/g, '').slice(0, 6);
  if (!/^[0-9]{6}$/.test(code)) {
    document.getElementById('summary').textContent = '请输入六位股票代码';
    return Promise.resolve(false);
  }
  var market = M.getJson('/soft/quotes?codes=i000001').then(function (r) { return (r.quotes || [])[0]; },
    function () { return null; });
  return Promise.all([M.getJson('/soft/quotes/intraday?code=' + code), market]).then(function (all) {
    if (all[0].code !== 200) {
      throw new Error('unknown');
    }
    paint(all[0], all[1]);
    return true;
  }).catch(function () {
    shown = null;
    document.getElementById('title').textContent = code;
    document.getElementById('summary').textContent = '没有找到这只股票';
    return false;
  });
}

function buildPage() {
  var app = document.getElementById('app');
  app.appendChild(M.el('div', { className: 'bar' }, [
    M.el('span', { id: 'title', className: 'title', text: '个股诊断' }),
    M.el('a', {
      className: 'btn', text: '加入自选',
      onclick: function () {
        if (shown) {
          M.callClient('CB_AddStarToSelfStock', shown.code + shown.name);
        }
      }
    }),
    M.el('a', { className: 'btn', text: '返回', onclick: function () { M.callClient('CB_BtnReturnDiagnDlg'); } })
  ]));
  app.appendChild(M.el('div', { id: 'price', className: 'bigprice' }));
  app.appendChild(M.el('div', { id: 'chart', className: 'chart' }));
  app.appendChild(M.el('div', { id: 'figures', className: 'figures' }));
  app.appendChild(M.el('div', { id: 'summary', className: 'summary' }));
  app.appendChild(M.el('div', { id: 'time', className: 'clock' }));
  setInterval(function () {
    if (shown && document.visibilityState !== 'hidden') {
      stockreload(shown.code);
    }
  }, 10000);
  if (!M.hosted()) {
    var fromUrl = /[?&]code=([0-9]{6})/.exec(location.search || '');
    stockreload(fromUrl ? fromUrl[1] : '600000');
  }
}

buildPage();
