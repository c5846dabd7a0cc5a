// Shared pieces of the browser tests: building pages with pomeli2-build,
// serving them over loopback HTTP, and one small driver interface over
// Chromium (playwright-core) and Firefox ESR (puppeteer-core).
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { after, afterEach, before, beforeEach, describe } from 'node:test';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import puppeteer from 'puppeteer-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const axeSource = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const vnuJar = createRequire(import.meta.url).resolve('vnu-jar/build/dist/vnu.jar');
export const projectsDir = path.resolve(here, '../pages');
export const previewTool = process.env.POMELI2_PREVIEW_TOOL || path.resolve(here, '../../build/tests/preview_page');
export const buildTool = process.env.POMELI2_BUILD_TOOL || path.resolve(here, '../../build/src/cli/pomeli2-build');
// The page writer without the save's refusals (tests/support/writer_page.cpp).
export const writerTool = process.env.POMELI2_WRITER_TOOL || path.resolve(here, '../../build/tests/writer_page');

// A fresh folder for the pages of one test file.
export function siteDir() {
  return fs.mkdtempSync(path.join(os.tmpdir(), 'pomeli2-site-'));
}

// Runs pomeli2-build on a project of tests/pages; returns the page's name.
// BODY insertion files named in a project are found beside it.
export function buildPage(dir, project, extraArgs = [], pageName = `${project}.html`) {
  execFileSync(buildTool, [path.join(projectsDir, `${project}.pml`), '-o', path.join(dir, pageName), ...extraArgs], {
    stdio: ['ignore', 'pipe', 'pipe'],
    cwd: projectsDir,
  });
  return pageName;
}

// The checker's errors in each file, as "line: message" lines.
export function checkerErrors(files) {
  const run = spawnSync('java', ['-jar', vnuJar, '--format', 'json', '--errors-only', ...files], {
    encoding: 'utf8', maxBuffer: 64 << 20,
  });
  assert.ok(run.stderr, `the checker said nothing (${run.error || run.status})`);
  const errors = Object.fromEntries(files.map((f) => [f, []]));
  for (const m of JSON.parse(run.stderr).messages) {
    const file = fileURLToPath(m.url);
    (errors[file] ||= []).push(`${m.lastLine}: ${m.message} ${JSON.stringify(m.extract || '')}`);
  }
  return errors;
}
// Serves the folder; any other .html path gets a small page naming itself,
// so that links and frames have somewhere to go.
export async function serve(dir) {
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname).replace(/^\/+/, '');
    const file = path.join(dir, path.normalize(name));
    if (file.startsWith(dir) && fs.existsSync(file) && fs.statSync(file).isFile()) {
      const types = { '.gif': 'image/gif', '.js': 'text/javascript', '.css': 'text/css' };
      const type = types[path.extname(file)] || 'text/html';
      res.writeHead(200, { 'Content-Type': type });
      res.end(fs.readFileSync(file));
      return;
    }
    res.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' });
    res.end(`<html><body><p id="name">${name.replace(/[<&]/g, '')}</p></body></html>`);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  return { url: (p) => `http://127.0.0.1:${port}/${p}`, close: () => new Promise((r) => server.close(r)) };
}

const chromiumArgs = [
  '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--no-sandbox',
];

class Page {
  constructor(page, kind) {
    this.page = page;
    this.kind = kind;
    this.errors = [];
    page.on('pageerror', (e) => this.errors.push(String(e && e.message ? e.message : e)));
  }
  goto(url) { return this.page.goto(url, { waitUntil: 'load' }); }
  reload() { return this.page.reload({ waitUntil: 'load' }); }
  hover(selector) { return this.page.hover(selector); }
  // A key, or a key with Shift ("Shift+Tab"), which Puppeteer has no name for.
  async press(key) {
    const k = this.page.keyboard;
    if (this.kind === 'playwright' || !key.startsWith('Shift+')) return k.press(key);
    await k.down('Shift');
    try {
      await k.press(key.slice(6));
    } finally {
      await k.up('Shift');
    }
  }
  // The element that has the keyboard focus, described by the test's own function.
  focused(describe) { return this.page.evaluate(describe); }
  // axe-core in the page: the WCAG 2.2 A and AA rules and, from the best
  // practices, that every tree item has a name (the WCAG rules miss a
  // nameless item without a link); the rules given in `skip` left out.
  // Returns the violations as "rule: target" lines.
  async axe(skip = []) {
    if (this.kind === 'playwright') await this.page.addScriptTag({ content: axeSource });
    else await this.page.evaluate(axeSource);
    return this.page.evaluate(async (skipped) => {
      const rules = { 'aria-treeitem-name': { enabled: true } };
      for (const id of skipped) rules[id] = { enabled: false };
      const tags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22a', 'wcag22aa'];
      const result = await window.axe.run(document, { runOnly: { type: 'tag', values: tags }, rules });
      return result.violations.flatMap((v) => v.nodes.map((n) => `${v.id}: ${n.target.join(' ')}`));
    }, skip);
  }
  evaluate(fn, arg) { return this.page.evaluate(fn, arg); }
  // A function that runs in every document before its own scripts.
  initScript(fn) {
    return this.kind === 'playwright' ? this.page.addInitScript(fn) : this.page.evaluateOnNewDocument(fn);
  }
  // Forced colours, which only Chromium's driver emulates: false elsewhere.
  async forcedColors() {
    if (this.kind !== 'playwright') return false;
    await this.page.emulateMedia({ forcedColors: 'active' });
    return true;
  }
  setViewport(width, height) {
    return this.kind === 'playwright' ? this.page.setViewportSize({ width, height }) : this.page.setViewport({ width, height });
  }
  // The page as printed: Chromium emulates the medium; in Firefox, whose
  // WebDriver BiDi cannot, the page's print rules are made to apply on screen.
  async printMedia() {
    if (this.kind === 'playwright') return this.page.emulateMedia({ media: 'print' });
    return this.page.evaluate(() => {
      for (const sheet of document.styleSheets)
        for (const rule of sheet.cssRules) if (rule.media && rule.media.mediaText === 'print') rule.media.mediaText = 'all';
    });
  }
  click(selector) { return this.clickIn(this.page, selector); }
  // A real mouse click on the middle of the element, in the page or in one
  // of its frames. Playwright checks that the element can take the click;
  // with Puppeteer over WebDriver BiDi that check refuses elements that a
  // script has just shown, so the click goes to the element's box instead.
  async clickIn(frame, selector) {
    if (this.kind === 'playwright') return frame.click(selector);
    const handle = await frame.waitForSelector(selector, { visible: true, timeout: 5000 });
    const box = await handle.boundingBox();
    if (!box) throw new Error(`${selector} has no box to click`);
    // Near the top edge: with a small row spacing the next item's block
    // covers the lower part of this one.
    await this.page.mouse.click(box.x + box.width / 2, box.y + Math.min(box.height / 2, 3));
  }
  url() { return this.page.url(); }
  waitFor(fn, arg, timeout = 5000) {
    return this.kind === 'playwright'
      ? this.page.waitForFunction(fn, arg, { timeout })
      : this.page.waitForFunction(fn, { timeout }, arg);
  }
  // The frame whose window has this name (asked of the frame itself, which
  // both drivers answer alike).
  async frame(name) {
    for (const f of this.page.frames()) {
      try {
        if ((await f.evaluate(() => window.name)) === name) return f;
      } catch {
        // a frame that is navigating away has no window to ask
      }
    }
    return null;
  }
  // Waits until the named frame shows a page whose address ends in `suffix`.
  async waitForFrameUrl(name, suffix, timeout = 5000) {
    const end = Date.now() + timeout;
    let url;
    for (;;) {
      const f = await this.frame(name);
      url = f && f.url();
      if (url && url.endsWith(suffix)) return f;
      if (Date.now() > end) throw new Error(`frame ${name} did not reach ${suffix} (now ${url})`);
      await new Promise((r) => setTimeout(r, 50));
    }
  }
  close() { return this.page.close(); }
}

// launch({ javaScript: false }) gives a browser whose pages run no script,
// launch({ reducedMotion: true }) one that asks pages for reduced motion.
export const browsers = [
  {
    name: 'Chromium',
    executable: '/usr/bin/chromium',
    async launch(options = {}) {
      const browser = await chromium.launch({ executablePath: this.executable, args: chromiumArgs });
      const context = {
        javaScriptEnabled: options.javaScript !== false,
        reducedMotion: options.reducedMotion ? 'reduce' : 'no-preference',
        colorScheme: options.dark ? 'dark' : 'light',
      };
      return {
        newPage: async () => new Page(await browser.newPage(context), 'playwright'),
        close: () => browser.close(),
      };
    },
  },
  {
    name: 'Firefox ESR',
    executable: '/usr/bin/firefox-esr',
    // WebDriver BiDi in this Firefox emulates neither, so they are preferences.
    async launch(options = {}) {
      const extraPrefsFirefox = {};
      if (options.javaScript === false) extraPrefsFirefox['javascript.enabled'] = false;
      if (options.reducedMotion) extraPrefsFirefox['ui.prefersReducedMotion'] = 1;
      extraPrefsFirefox['layout.css.prefers-color-scheme.content-override'] = options.dark ? 0 : 1;
      const browser = await puppeteer.launch({
        browser: 'firefox', executablePath: this.executable, headless: true, extraPrefsFirefox,
      });
      // Each page in a context of its own, as Playwright gives: no storage
      // passes from one test to the next.
      return {
        async newPage() {
          const context = await browser.createBrowserContext();
          const page = new Page(await context.newPage(), 'puppeteer');
          const close = page.close.bind(page);
          page.close = async () => {
            await close();
            await context.close();
          };
          return page;
        },
        close: () => browser.close(),
      };
    },
  },
];

// In the page: every item block's state, keyed by its number.
export function readItems() {
  const items = {};
  for (const div of document.querySelectorAll('div[id^="t"]')) {
    const n = div.id.slice(1);
    const img = document.images['i' + n];
    items[n] = {
      visible: getComputedStyle(div).visibility === 'visible',
      top: parseInt(div.style.top, 10),
      left: parseInt(div.style.left, 10),
      image: img ? img.getAttribute('src') : null,
    };
  }
  return items;
}

// One suite per browser (POMELI2_BROWSERS=firefox or chromium runs one
// only) over the pages of `dir`, served on loopback. The browser starts once;
// every test gets a fresh page as `run.page` and fails when that page
// reported script errors. `run.open(name)` loads a page of `dir`,
// `run.url(name)` gives its address, `run.kind` is the entry of `browsers`.
export function eachBrowser(suffix, dir, body) {
  const only = (process.env.POMELI2_BROWSERS || '').toLowerCase();
  for (const kind of browsers.filter((x) => !only || x.name.toLowerCase().includes(only))) {
    describe(kind.name + suffix, () => {
      let server;
      let browser;
      const run = { kind, page: null, url: (name) => server.url(name), open: (name) => run.page.goto(run.url(name)) };
      before(async () => {
        server = await serve(dir);
        browser = await kind.launch();
      });
      after(async () => {
        try {
          if (browser) await browser.close();
        } finally {
          await server.close();
        }
      });
      beforeEach(async () => {
        run.page = await browser.newPage();
      });
      afterEach(async () => {
        const errors = run.page.errors;
        await run.page.close();
        assert.deepEqual(errors, [], 'the page reported script errors');
      });
      body(run);
    });
  }
}
