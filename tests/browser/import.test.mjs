// A page built from an imported third-party file runs nothing that file
// held: its titles bring no script, event handler or script link, in the
// written page and in Chromium, whose handler fails the test when anything
// the file held runs.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { it } from 'node:test';
import { fileURLToPath } from 'node:url';
import { buildTool, eachBrowser, siteDir } from './support.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const hostile = path.resolve(here, '../exchange/sources/hostile_page.html');
const dir = siteDir();
const project = path.join(dir, 'imported.pml');
execFileSync(buildTool, ['--import', hostile, '-o', project], { stdio: 'ignore' });
const html5 = path.join(dir, 'imported-html5.pml');
fs.writeFileSync(html5, fs.readFileSync(project, 'latin1').replace(/\[Browser\]\t[^\r]*/, '[Browser]\tHTML5'), 'latin1');
const pages = ['imported.html', 'imported-html5.html'];
execFileSync(buildTool, [project, '-o', path.join(dir, pages[0])], { stdio: 'ignore' });
execFileSync(buildTool, [html5, '-o', path.join(dir, pages[1])], { stdio: 'ignore' });

// In the page: what the file's payloads (all of them call alert) left.
function payloads() {
  const found = [];
  for (const e of document.querySelectorAll('*')) {
    if (/^(script|style)$/i.test(e.tagName) && e.textContent.includes('alert')) found.push(`<${e.tagName}>`);
    if (/^(iframe|object|embed|svg)$/i.test(e.tagName)) found.push(`<${e.tagName}>`);
    for (const a of e.attributes) {
      if (/^on/i.test(a.name) && a.value.includes('alert')) found.push(`${a.name}=`);
      if (/^\s*(javascript|data):/i.test(a.value)) found.push(`${a.name}=${a.value}`);
    }
  }
  return found;
}

eachBrowser(', imported hostile file', dir, (run) => {
  for (const page of pages) {
    it(`runs nothing the file held (${page})`, async (t) => {
      const ran = [];
      run.page.page.on('dialog', async (d) => {
        ran.push(d.message());
        await d.dismiss();
      });
      const text = fs.readFileSync(path.join(dir, page), 'latin1');
      assert.doesNotMatch(text, /<script[^>]*>[^<]*alert|\son\w+\s*=\s*["']?alert|javascript:\s*alert/i);
      await run.open(page);
      assert.deepEqual(await run.page.evaluate(payloads), []);
      // Every item shown, pointed at and its link followed where it has one.
      await run.page.evaluate(() => {
        for (const e of document.querySelectorAll('[style*="hidden"]')) e.style.visibility = 'visible';
        for (const e of document.querySelectorAll('*')) {
          for (const type of ['mouseover', 'mouseenter', 'focus']) e.dispatchEvent(new Event(type));
        }
      });
      await new Promise((r) => setTimeout(r, 200));
      assert.deepEqual(ran, [], 'the page ran what the imported file held');
      t.diagnostic(`${page}: no payload in the page`);
    });
  }
});
