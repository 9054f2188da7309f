// The ranking page: top gainers, losers and turnover, the indexes, the user's own list and
// a membership view; an advertisement block for accounts that show one.
var M = this.Meridex;
var login = { key: '', uid: '' };
var currentView = 'gain';

var views = {
  gain: { title: '涨幅榜', rank: 'gain', count: 20 },
  loss: { title: '跌幅榜', rank: 'loss', count: 20 },
  turnover: { title: '换手率', rank: 'turnover', count: 20 },
  all: { title: '全部涨幅', rank: 'gain', count: 100 },
  buy: { title: '量比榜', rank: 'volumeratio', count: 30 },
  index: { title: '大盘指数', codes: 'i000001,i399001,i399300' },
  mine: { title: '我的自选' },
  vip: { title: '会员服务' }
};

function addButton(q) {
  return M.el('a', {
    className: 'act add', title: '加入自选', text: '+',
    onclick: function () {
      // The name travels along: it tells the index 000001 from the stock of that code.
      M.callClient('CB_AddStarToSelfStock', q.code.replace(/^i/, '') + q.name);
    }
  });
}

function quoteRow(q) {
  var cls = M.trendClass(q.change);
  return M.el('tr', { id: 'top' + q.code, className: 'row' }, [
    M.el('td', { className: 'name' }, [
      M.el('div', { text: q.name }),
      M.el('div', { className: 'code', text: q.code.replace(/^i/, '') })
    ]),
    M.el('td', { className: 'num ' + cls, text: q.price }),
    M.el('td', { className: 'num ' + cls, text: M.signed(q.change) + '%' }),
    M.el('td', { className: 'num', text: q.turnover + '%' }),
    M.el('td', { className: 'acts' }, [addButton(q)])
  ]);
}

function showQuotes(list, note) {
  var body = document.getElementById('rows');
  M.clear(body);
  list.forEach(function (q) { body.appendChild(quoteRow(q)); });
  document.getElementById('note').textContent = note || (list.length ? '' : '暂无数据');
}

function showText(text) {
  M.clear(document.getElementById('rows'));
  document.getElementById('note').textContent = text;
}

function loadView(name) {
  var view = views[name] || views.gain;
  currentView = views[name] ? name : 'gain';
  document.getElementById('viewtitle').textContent = view.title;
  if (view.rank) {
    return M.getJson('/soft/quotes/rank?by=' + view.rank + '&count=' + view.count)
      .then(function (r) { showQuotes(r.list || []); }, function () { showText('网络异常'); });
  }
  if (view.codes) {
    return M.getJson('/soft/quotes?codes=' + view.codes)
      .then(function (r) { showQuotes(r.quotes || []); }, function () { showText('网络异常'); });
  }
  if (name === 'mine') {
    if (!login.key) {
      showText('请先登录');
      return Promise.resolve();
    }
    return M.getJson('/api/action/read?type=1&accesskey=' + encodeURIComponent(login.key))
      .then(function (r) {
        if (r.code !== 200) {
          throw new Error(r.error || 'refused');
        }
        var codes = (r.list || []).map(function (e) { return e.stockcode; });
        return codes.length ? M.getJson('/soft/quotes?codes=' + codes.join(',')) : { quotes: [] };
      })
      .then(function (r) { showQuotes(r.quotes || [], (r.quotes || []).length ? '' : '自选股为空'); },
        function () { showText('登录已失效，请重新登录'); });
  }
  showText(login.key ? '会员可设置更多提醒条件，行情刷新更快。请在“账户管理”中开通。'
    : '登录后可开通会员。');
  return Promise.resolve();
}

function showAdvert(visible) {
  M.show(document.getElementById('advert'), visible);
}

// The client calls this (with the login's access key and user id) when the account shows no
// advertisement; the page asks the service itself, so a stale call cannot show a wrong block.
function reloadstars(key, uid) {
  login.key = String(key || '');
  login.uid = String(uid || '');
  var ad = login.key
    ? M.getJson('/api/vesko/meikai?accesskey=' + encodeURIComponent(login.key))
      .then(function (r) { showAdvert(r.code === 200 && r.showAd === true); },
        function () { showAdvert(false); })
    : Promise.resolve(showAdvert(false));
  return Promise.all([ad, loadView(currentView)]);
}

function clickdetailrel(key, text) {
  login.key = String(key || '');
  return loadView(text === 'index' || !text ? 'index' : text);
}

function stocklistrel(key) {
  login.key = String(key || '');
  return loadView('all');
}

function stocklistrel_buy(key) {
  login.key = String(key || '');
  return loadView('buy');
}

function stockjoinviprel(key) {
  login.key = String(key || '');
  return loadView('vip');
}

function stocklistdetailrel(key, uid) {
  login.key = String(key || '');
  login.uid = String(uid || '');
  return loadView('mine');
}

// A button asks the client, which calls the page's function back with the login; in a plain
// browser the page calls its function itself.
function clientButton(text, bridgeName, arg, local) {
  return M.el('a', {
    className: 'btn', text: text,
    onclick: function () {
      var asked = arg === undefined ? M.callClient(bridgeName) : M.callClient(bridgeName, arg);
      if (!asked) {
        local();
      }
    }
  });
}

function buildPage() {
  var app = document.getElementById('app');
  var tabs = M.el('div', { className: 'tabs' });
  ['gain', 'loss', 'turnover'].forEach(function (name) {
    tabs.appendChild(M.el('a', {
      className: 'tab', text: views[name].title,
      onclick: function () { loadView(name); }
    }));
  });
  tabs.appendChild(clientButton('刷新', 'CB_StarTopRefresh', undefined,
    function () { reloadstars(login.key, login.uid); }));
  app.appendChild(tabs);
  app.appendChild(M.el('div', { className: 'tabs sub' }, [
    clientButton('指数', 'CB_OpenAllIndexInIE', 'index', function () { clickdetailrel(login.key, 'index'); }),
    clientButton('全部', 'CB_OpenAllStocksInIE', undefined, function () { stocklistrel(login.key); }),
    clientButton('量比', 'CB_OpenAllBuySellInIE', undefined, function () { stocklistrel_buy(login.key); }),
    clientButton('我的', 'CB_OpenMyHome', undefined, function () { stocklistdetailrel(login.key, login.uid); }),
    clientButton('会员', 'CB_OpenPayUrl', undefined, function () { stockjoinviprel(login.key); })
  ]));
  app.appendChild(M.el('div', { id: 'advert', className: 'advert' }, [
    M.el('b', { text: '开通会员 免除广告' }),
    M.el('div', { text: '涨停预警、资金流向、盘中异动，一个都不错过。' })
  ]));
  app.appendChild(M.el('div', { id: 'viewtitle', className: 'viewtitle' }));
  app.appendChild(M.el('div', { className: 'scroll' }, [
    M.el('table', { className: 'list' }, [M.el('tbody', { id: 'rows' })]),
    M.el('div', { id: 'note', className: 'empty' })
  ]));
  loadView(currentView);
}

buildPage();
