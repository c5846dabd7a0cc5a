// The "HTML5" page's filter box in Chromium: the time from a keystroke to
// the painted result (the input handled, then the next frame drawn), once
// the box has the focus, over
// words typed letter by letter and taken back again, at 1,000 and 10,000
// items. Prints the median and the 95th percentile per size.
// Usage: node bench/filter_keystroke.mjs [items...] (default 1000 10000)
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';
import { benchProject } from './menu_project.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.resolve(here, '../tests/browser/package.json'));
const { chromium } = require('playwright-core');
const tool = process.env.POMELI2_BUILD_TOOL || path.resolve(here, '../build-release/src/cli/pomeli2-build');
const sizes = process.argv.length > 2 ? process.argv.slice(2).map(Number) : [1000, 10000];
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'pomeli2-filter-'));

// What is typed: words that match many, few and no items, letter by letter,
// each taken back letter by letter.
const words = ['item 1', 'item 42', 'p99', 'zzz', 'ITEM 7'];

const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--disable-gpu', '--no-sandbox'] });
try {
  for (const items of sizes) {
    fs.writeFileSync(path.join(dir, 'menu.pml'), benchProject(items, 'HTML5', '[Filter]\t1\r\n'));
    const page = path.join(dir, 'menu.html');
    execFileSync(tool, [path.join(dir, 'menu.pml'), '-o', page, '--copy-images']);
    const tab = await browser.newPage();
    await tab.goto('file://' + page, { waitUntil: 'load' });
    const times = await tab.evaluate(async (list) => {
      const box = document.getElementById('pomeli-q');
      box.focus();  // as a reader comes to the box before typing
      await new Promise((done) => setTimeout(done, 100));
      const frame = () => new Promise((done) => requestAnimationFrame(() => {
        // After the frame's paint: a task queued from the frame callback.
        const channel = new MessageChannel();
        channel.port1.onmessage = done;
        channel.port2.postMessage(0);
      }));
      const out = [];
      const stroke = async (value) => {
        const t0 = performance.now();
        box.value = value;
        box.dispatchEvent(new Event('input'));
        await frame();
        out.push(performance.now() - t0);
      };
      for (const word of list) {
        for (let i = 1; i <= word.length; ++i) await stroke(word.slice(0, i));
        for (let i = word.length - 1; i >= 0; --i) await stroke(word.slice(0, i));
      }
      return out;
    }, words);
    await tab.close();
    times.sort((a, b) => a - b);
    const at = (q) => times[Math.min(times.length - 1, Math.floor(q * times.length))];
    console.log(`${String(items).padStart(6)} items: ${times.length} keystrokes, median ${at(0.5).toFixed(1)} ms, ` +
      `95th percentile ${at(0.95).toFixed(1)} ms, slowest ${times[times.length - 1].toFixed(1)} ms`);
  }
} finally {
  await browser.close();
  fs.rmSync(dir, { recursive: true, force: true });
}
