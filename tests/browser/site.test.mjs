// The menu on every page of a site (pomeli2-build --site) on the test site
// of tests/site: the current page marked once and in view, the open
// branches shared by the pages, links that reach their files from every
// folder, the path and the whole menu's link without JavaScript; and the
// pages that conformed before still conform.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { describe, it } from 'node:test';
import { fileURLToPath } from 'node:url';
import { browsers, buildTool, checkerErrors, eachBrowser, serve, siteDir } from './support.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const source = path.resolve(here, '../site');
const original = siteDir();
const dir = siteDir();
fs.cpSync(source, original, { recursive: true });
fs.cpSync(source, dir, { recursive: true });
const site = path.join(dir, 'pages');
execFileSync(buildTool, ['site.pml', '-o', 'pages/menu.html'], { cwd: dir });
execFileSync(buildTool, ['site.pml', '--site', 'pages', '-o', 'pages/menu.html'], { cwd: dir, stdio: 'pipe' });

// Each page that holds the marker and its item, as the menu names them.
const pages = {
  'index.html': ['トップ'],
  'guide/intro.html': ['ガイド'],
  'guide/deep/part/page.html': ['ガイド', '第一部'],
  'guide/deep/emoji.html': ['ガイド', '絵文字 😀 の章'],
  'guide/deep/index.html': ['ガイド', '目次'],
  'news/index.html': ['お知らせ'],
};

// The file a local address leads to in the site, a folder's index page for a folder.
function fileOf(url, root) {
  let file = path.join(site, decodeURIComponent(new URL(url).pathname.slice(root.length)));
  if (file.endsWith(path.sep)) file += 'index.html';
  return file;
}

eachBrowser(' site', site, (run) => {
  // Firefox reports the page that declares no encoding, which is the author's to mend.
  async function open(name) {
    await run.open(name);
    run.page.errors = run.page.errors.filter((e) => !e.includes('encoding of the document was not declared'));
  }
  it('marks each page once as current, in view, with links that reach their files', async () => {
    for (const [name, trail] of Object.entries(pages)) {
      await open(name);
      const seen = await run.page.evaluate(() => {
        const current = document.querySelectorAll('[aria-current="page"]');
        const r = current.length === 1 && current[0].getBoundingClientRect();
        return {
          count: current.length,
          text: current.length === 1 ? current[0].textContent : null,
          inView: r && r.top >= 0 && r.bottom <= innerHeight,
          inTree: current.length === 1 && current[0].closest('#pomeli [role="tree"]') != null,
          links: [...document.querySelectorAll('#pomeli li>a[href]')].map((a) => a.href),
        };
      });
      assert.equal(seen.count, 1, name);
      assert.ok(seen.inTree && seen.inView, name);
      assert.equal(seen.text, trail.at(-1), name);
      const root = new URL(run.url('')).pathname;
      for (const link of seen.links.filter((l) => l.startsWith(run.url('')))) {
        assert.ok(fs.existsSync(fileOf(link, root)), `${name}: ${link}`);
      }
      assert.ok(seen.links.includes('https://example.com/a?b=1&c=2'), name);
    }
  });

  it('keeps the open branches for every page of the site', async () => {
    await run.open('index.html');
    const guide = '#pomeli a[id="t2"]';
    assert.equal(await run.page.evaluate((s) => document.querySelector(s).getAttribute('aria-expanded'), guide), 'false');
    await run.page.click(`${guide}>img`);
    await run.open('viewer.html');
    assert.equal(await run.page.evaluate((s) => document.querySelector(s).getAttribute('aria-expanded'), guide), 'true');
  });

  it('opens the frame sets\' frames that the site does not have in the same window, and keeps every other target', async () => {
    await run.open('index.html');
    const targets = await run.page.evaluate(() =>
      Object.fromEntries([...document.querySelectorAll('#pomeli li>a[href]')].map((a) => [a.textContent, a.target])));
    assert.deepEqual(targets, {
      'トップ': '', 'ガイド': '', '第一部': '', '絵文字 😀 の章': '', '目次': '', 'お知らせ': '', '旧ページ': '',
      '見る': 'viewer', '外部': '_blank', '印刷用': 'help',
    });
  });

  it('finds no axe violation on the pages that the checker found valid before', async () => {
    for (const name of validBefore) {
      await open(name);
      assert.deepEqual(await run.page.axe(), [], name);
    }
  });
});

// Pages the author wrote invalid are not ours to judge: those are the ones
// the checker finds errors in before the menu is put in.
const marked = Object.keys(pages);
const before = checkerErrors(marked.map((p) => path.join(original, 'pages', p)));
const validBefore = marked.filter((p) => before[path.join(original, 'pages', p)].length === 0);

describe('Nu HTML Checker on the site', () => {
  it('finds no error in the pages that had none', () => {
    assert.ok(validBefore.length >= 4, `only ${validBefore} were valid`);
    const after = checkerErrors(validBefore.map((p) => path.join(site, p)));
    assert.deepEqual(Object.fromEntries(Object.entries(after).filter(([, list]) => list.length)), {});
  });
});

for (const kind of browsers.filter((x) => !process.env.POMELI2_BROWSERS || x.name.toLowerCase().includes(process.env.POMELI2_BROWSERS))) {
  describe(`${kind.name} site without JavaScript`, () => {
    it('shows the path to each page and the link to the whole menu', async () => {
      const server = await serve(site);
      const browser = await kind.launch({ javaScript: false });
      try {
        const page = await browser.newPage();
        for (const [name, trail] of Object.entries(pages)) {
          await page.goto(server.url(name));
          const seen = await page.evaluate(() => ({
            path: [...document.querySelectorAll('#pomeli2-menu .pomeli2-path a')].map((a) => [a.textContent, a.href]),
            current: document.querySelector('[aria-current="page"]')?.textContent,
            all: document.querySelector('#pomeli2-menu .pomeli2-all')?.href,
          }));
          assert.deepEqual(seen.path.map(([text]) => text), trail, name);
          assert.equal(seen.current, trail.at(-1), name);
          const root = new URL(server.url('')).pathname;
          for (const [, href] of seen.path) assert.ok(fs.existsSync(fileOf(href, root)), `${name}: ${href}`);
          assert.equal(seen.all, server.url('menu.html'), name);
        }
        await page.close();
      } finally {
        await browser.close();
        await server.close();
      }
    });
  });
}
