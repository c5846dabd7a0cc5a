// Opens a 10,000-item menu page in Chromium and clicks a branch near the
// top; prints how long the load and the click take.
// Usage: node bench/page_in_browser.mjs [items]
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.resolve(here, '../tests/browser/package.json'));
const { chromium } = require('playwright-core');

const items = Number(process.argv[2] || 10000);
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'pomeli2-bench-'));
let pml = '[Title]\tBench\r\n[Browser]\tNN6 Only\r\n0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n';
for (let i = 1; i < items; ++i) {
  const depth = i % 10 === 1 ? 1 : i % 10 < 5 ? 2 : 3;
  pml += `${depth}\titem ${i}\t#FFFFFF\tNone\t1\t10pt\tp${i}.html\t0\tFrame2\tlinkto.gif\t0\r\n`;
}
fs.writeFileSync(path.join(dir, 'big.pml'), pml);
const tool = process.env.POMELI2_BUILD_TOOL || path.resolve(here, '../build-release/src/cli/pomeli2-build');
execFileSync(tool, [path.join(dir, 'big.pml'), '-o', path.join(dir, 'big.html'), '--copy-images']);

const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--disable-gpu', '--no-sandbox'] });
try {
  const page = await browser.newPage();
  const t0 = performance.now();
  await page.goto('file://' + path.join(dir, 'big.html'), { waitUntil: 'load' });
  const t1 = performance.now();
  const click = await page.evaluate(() => {
    const start = performance.now();
    document.querySelector('#t1 a').click();
    const opened = getComputedStyle(document.getElementById('t2')).visibility === 'visible';
    return { ms: performance.now() - start, opened };
  });
  console.log(`${items} items: page ${(fs.statSync(path.join(dir, 'big.html')).size / 1e6).toFixed(1)} MB, ` +
    `load ${(t1 - t0).toFixed(0)} ms, click on the first branch ${click.ms.toFixed(0)} ms (opened: ${click.opened})`);
} finally {
  await browser.close();
  fs.rmSync(dir, { recursive: true, force: true });
}
