// The pages' logic against the real service: the functions the client calls, the calls the
// pages make on window.external, and the quote lines they produce.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import vm from 'node:vm';
import { FakeDocument } from './fakedom.mjs';

let service;
let base;
let dataDir;

before(async () => {
  dataDir = mkdtempSync(path.join(tmpdir(), 'meridex-pages-'));
  service = spawn(process.env.MERIDEX_SERVICE_BIN, ['--port', '0', '--data', path.join(dataDir, 'data')],
    { stdio: ['ignore', 'pipe', 'ignore'] });
  base = await new Promise((resolve, reject) => {
    let out = '';
    service.stdout.on('data', (d) => {
      out += d;
      const m = /listening on (http:\/\/[0-9.]+:\d+)/.exec(out);
      if (m) resolve(m[1]);
    });
    service.on('exit', (code) => reject(new Error('service ended: ' + code)));
  });
  // A fixed trading instant, and exact quotes for the stocks whose lines are checked.
  await post('/admin/clock?time=2026-12-10%2010:30:00');
  await post('/admin/quotes', {
    quotes: [
      { code: '600000', price: 10.5, change: 2.5, volumeratio: 1.2, turnover: 0.8 },
      { code: '000001', price: 11.02, change: -1.25, volumeratio: 0.6, turnover: 0.35 },
    ],
  });
});

after(() => {
  service.kill('SIGTERM');
  rmSync(dataDir, { recursive: true, force: true });
});

async function post(p, body) {
  const r = await fetch(base + p, {
    method: 'POST',
    headers: { 'Content-Type': 'application/json' },
    body: body ? JSON.stringify(body) : '',
  });
  return r.json();
}

// The client's bridge: every CB_ name, recording its calls in order.
function recordingExternal() {
  const calls = [];
  const names = ['CB_IsOurCustomBrowser', 'CB_RefreshSelfStockInfo', 'CB_ShowWarningSetDlg',
    'CB_DeleteSelfStock', 'CB_AddStarToSelfStock', 'CB_BtnRefreshSelfStock', 'CB_BtnReturnDiagnDlg',
    'CB_StarTopRefresh', 'CB_OpenAllIndexInIE', 'CB_OpenAllStocksInIE', 'CB_OpenAllBuySellInIE',
    'CB_OpenMyHome', 'CB_OpenPayUrl', 'CB_DiagnStock'];
  const ext = { calls };
  for (const n of names) {
    ext[n] = (...args) => { calls.push([n, ...args]); return true; };
  }
  return ext;
}

// Loads a page as the panel does and runs its scripts in a fresh context.
async function loadPage(name, external, search = '') {
  const html = await (await fetch(`${base}/soft/2.10/htmls/${name}.php`)).text();
  const document = new FakeDocument();
  const ctx = {
    document,
    external,
    location: { search },
    console,
    setInterval: () => 0,
    fetch: (url, opts) => fetch(new URL(url, base), opts),
    Promise,
  };
  ctx.window = ctx;
  vm.createContext(ctx);
  for (const [, src] of html.matchAll(/<script src="([^"]+)"><\/script>/g)) {
    const code = await (await fetch(`${base}/soft/2.10/htmls/${src}`)).text();
    vm.runInContext(code, ctx, { filename: src });
  }
  return { ctx, document };
}

const LINE = /^i?\d{6}\|[^|]+\|\d+\.\d{2}\|-?\d+\.\d{2}\|\d+\.\d{2}\|\d+\.\d{2}$/;

test('sendrefreshrequest hands one quote line per entry to the client, in list order', async () => {
  const ext = recordingExternal();
  const { ctx } = await loadPage('stockmy', ext);
  await ctx.stockreload('i000001|600000|999999|000001|300750');
  assert.deepEqual(ext.calls, [], 'showing the list calls nothing');

  const sent = await ctx.sendrefreshrequest();
  const lines = ext.calls.filter((c) => c[0] === 'CB_RefreshSelfStockInfo').map((c) => c[1]);
  assert.equal(sent, 4);
  assert.equal(lines.length, 4, 'the unknown code gets no line');
  assert.deepEqual(lines.map((l) => l.split('|')[0]), ['i000001', '600000', '000001', '300750']);
  for (const l of lines) assert.match(l, LINE);
  assert.equal(lines[1], '600000|浦发银行|10.50|2.50|1.20|0.80');
  assert.equal(lines[2], '000001|平安银行|11.02|-1.25|0.60|0.35');
  assert.equal(lines[0].split('|')[1], '上证指数', 'the index is not the stock of the same digits');
});

test('changealertstate marks exactly the named row and survives a reload', async () => {
  const ext = recordingExternal();
  const { ctx, document } = await loadPage('stockmy', ext);
  await ctx.stockreload('600000|i000001|000001');
  const cls = (code) => document.getElementById('sc' + code).className;

  ctx.changealertstate('#sc000001', '2');
  ctx.changealertstate('#sci000001', '1');
  assert.match(cls('000001'), /alert-2/);
  assert.match(cls('i000001'), /alert-1/);
  assert.match(cls('600000'), /alert-0/);

  await ctx.stockreload('000001|600000|i000001');
  assert.match(cls('000001'), /alert-2/);
  ctx.changealertstate('#sc000001', '0');
  assert.match(cls('000001'), /alert-0/);
  ctx.changealertstate('#sc123456', '2'); // not on the list: nothing to mark, no failure
});

test('watch-list rows colour prices and make the row calls', async () => {
  const ext = recordingExternal();
  const { ctx, document } = await loadPage('stockmy', ext);
  await ctx.stockreload('600000|000001|i000001');
  assert.match(document.getElementById('pr600000').className, /\bup\b/);
  assert.match(document.getElementById('ch000001').className, /\bdown\b/);
  assert.equal(document.getElementById('ch600000').textContent, '+2.50%');

  const row = document.getElementById('sc600000');
  row.find((e) => e.getAttribute('title') === '提醒设置').click();
  row.find((e) => e.getAttribute('title') === '诊断').click();
  const index = document.getElementById('sci000001');
  index.find((e) => e.getAttribute('title') === '删除').click();
  assert.equal(index.find((e) => e.getAttribute('title') === '诊断'), null, 'no diagnosis of an index');
  assert.deepEqual(ext.calls, [
    ['CB_ShowWarningSetDlg', '浦发银行|10.50'],
    ['CB_DiagnStock', '600000'],
    ['CB_DeleteSelfStock', 'i000001'],
  ]);
});

test('pages work in a plain browser: no bridge, or one without the CB_ names', async () => {
  for (const external of [undefined, { AddSearchProvider() {} }]) {
    const { ctx, document } = await loadPage('stockmy', external, '?list=600000%7Ci399001');
    assert.equal(await ctx.sendrefreshrequest(), 0);
    assert.equal(document.getElementById('pr600000').textContent, '10.50');
    assert.notEqual(document.getElementById('pri399001').textContent, '--');
    await ctx.stockreload('');
    assert.equal(document.getElementById('empty').style.display, '');
    const single = await loadPage('stocksingle', external, '?code=000001');
    assert.equal(await single.ctx.stockreload('000001'), true);
  }
});

test('the ranking page shows its advertisement only for accounts that have one', async () => {
  const login = async (user) => (await post(`/api/user/login?username=${user}&password=meridex`)).accesskey;
  const ext = recordingExternal();
  const { ctx, document } = await loadPage('stocktop', ext);
  const advert = () => document.getElementById('advert').style.display;
  assert.equal(advert(), '', 'shown before any login');
  await ctx.reloadstars(await login('demo'), '1');
  assert.equal(advert(), 'none');
  await ctx.reloadstars(await login('guest'), '2');
  assert.equal(advert(), '');
  await ctx.reloadstars('', '');
  assert.equal(advert(), 'none');

  await ctx.clickdetailrel('', 'index');
  document.getElementById('topi000001').find((e) => e.getAttribute('title') === '加入自选').click();
  await ctx.stocklistdetailrel(await login('demo'), '1');
  const rows = document.getElementById('rows').children.map((r) => r.id);
  assert.deepEqual(rows, ['top600000', 'top000001', 'top300750', 'top688981', 'topi000001', 'topi399001']);
  document.getElementById('top600000').find((e) => e.getAttribute('title') === '加入自选').click();
  assert.deepEqual(ext.calls, [
    ['CB_AddStarToSelfStock', '000001上证指数'],
    ['CB_AddStarToSelfStock', '600000浦发银行'],
  ]);
  for (const fn of ['stocklistrel', 'stocklistrel_buy', 'stockjoinviprel']) {
    await ctx[fn]('');
    assert.ok(document.getElementById('viewtitle').textContent.length > 0, fn);
  }
});

test('the ranking buttons ask the client, which calls the page back', async () => {
  const ext = recordingExternal();
  const { document } = await loadPage('stocktop', ext);
  const button = (text) => document.body.find((e) => e.className === 'btn' && e.textContent === text);
  for (const text of ['刷新', '指数', '全部', '量比', '我的', '会员']) button(text).click();
  assert.deepEqual(ext.calls, [['CB_StarTopRefresh'], ['CB_OpenAllIndexInIE', 'index'],
    ['CB_OpenAllStocksInIE'], ['CB_OpenAllBuySellInIE'], ['CB_OpenMyHome'], ['CB_OpenPayUrl']]);
});

test('the diagnosis page draws the day so far and sums it up', async () => {
  const ext = recordingExternal();
  const { ctx, document } = await loadPage('stocksingle', ext);
  assert.equal(await ctx.stockreload('600000'), true);
  assert.equal(document.getElementById('title').textContent, '浦发银行 600000');
  const svg = document.getElementById('chart').innerHTML;
  const points = (svg.match(/[ML][0-9.]+ [0-9.]+/g) || []).length;
  assert.ok(points >= 60, `a point per minute since 09:30, got ${points}`);
  assert.match(document.getElementById('summary').textContent, /浦发银行今日上涨2.50%/);

  document.body.find((e) => e.textContent === '加入自选' && e.className === 'btn').click();
  document.body.find((e) => e.textContent === '返回').click();
  assert.deepEqual(ext.calls, [['CB_AddStarToSelfStock', '600000浦发银行'], ['CB_BtnReturnDiagnDlg']]);

  assert.equal(await ctx.stockreload('abc'), false);
  assert.equal(await ctx.stockreload('999999'), false);
  assert.equal(document.getElementById('summary').textContent, '没有找到这只股票');
});
