// Builds the same large menu in the "IE4-5, NN4, NN6" and "HTML5" modes and
// measures both in Chromium: page size, load time (median of several loads)
// and the time to open and to close the first top-level branch, up to the
// end of the layout that follows.
// Usage: node bench/page_in_browser.mjs [items] [loads]
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

const items = Number(process.argv[2] || 10000);
const loads = Number(process.argv[3] || 7);
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'pomeli2-bench-'));
const tool = process.env.POMELI2_BUILD_TOOL || path.resolve(here, '../build-release/src/cli/pomeli2-build');

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

const modes = [
  { name: 'IE4-5, NN4, NN6', file: 'classic', toggle: '#t1 a' },
  { name: 'HTML5', file: 'html5', toggle: '#t1 > img' },
];
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--disable-gpu', '--no-sandbox'] });
try {
  for (const mode of modes) {
    fs.writeFileSync(path.join(dir, `${mode.file}.pml`), benchProject(items, mode.name));
    const page = path.join(dir, `${mode.file}.html`);
    execFileSync(tool, [path.join(dir, `${mode.file}.pml`), '-o', page, '--copy-images']);
    const times = [];
    const toggles = { open: [], close: [] };
    for (let i = 0; i < loads; ++i) {
      const tab = await browser.newPage();
      const t0 = performance.now();
      await tab.goto('file://' + page, { waitUntil: 'load' });
      times.push(performance.now() - t0);
      for (const step of ['open', 'close']) {
        toggles[step].push(await tab.evaluate((selector) => {
          const start = performance.now();
          document.querySelector(selector).click();
          void document.body.offsetHeight;  // the layout the change causes
          return performance.now() - start;
        }, mode.toggle));
      }
      await tab.close();
    }
    console.log(`${mode.name.padEnd(16)} ${items} items: page ${(fs.statSync(page).size / 1e6).toFixed(2)} MB, ` +
      `load ${median(times).toFixed(0)} ms, open ${median(toggles.open).toFixed(1)} ms, ` +
      `close ${median(toggles.close).toFixed(1)} ms (medians of ${loads})`);
  }
} finally {
  await browser.close();
  fs.rmSync(dir, { recursive: true, force: true });
}
