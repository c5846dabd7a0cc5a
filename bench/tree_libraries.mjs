// The "HTML5" menu page beside the same menu as a jsTree and as a Fancytree
// page (each with its default keyboard and ARIA support, the menu given as
// JSON), in Chromium. "Ready" is the time from the start of the navigation
// until the tree can take the focus with its first rows laid out; the
// figures are medians of interleaved loads. Two shapes: the page
// benchmark's menu ("deep"), and a wide one ("wide": about a tenth of the
// items at the top level, one in eight of them open, about 2,000 rows shown
// at 10,000 items, a picture of its own for each item).
// Usage: node bench/tree_libraries.mjs [items...] (default 1000 10000)
//        SHAPES=deep,wide (default both)
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.resolve(here, '../tests/browser/package.json'));
const { chromium } = require('playwright-core');
const modules = path.resolve(here, '../tests/browser/node_modules');
const tool = process.env.POMELI2_BUILD_TOOL || path.resolve(here, '../build-release/src/cli/pomeli2-build');
const sizes = process.argv.length > 2 ? process.argv.slice(2).map(Number) : [1000, 10000];
const loads = Number(process.env.LOADS || 7);

// A shape gives each item its depth, whether it is marked open, and its
// picture (none: the page's own).
const shapes = {
  // The menu of the page benchmark: one top-level item in ten; under it a
  // branch of three and five leaves.
  deep: (items) => Array.from({ length: items }, (_, i) => ({ depth: i % 10 === 1 ? 1 : i % 10 < 5 ? 2 : 3 })).slice(1),
  wide(items) {
    const top = Math.round(items * 0.0964), out = [];
    for (let t = 0; t < top; ++t) {
      out.push({ depth: 1, open: t % 8 === 0 });
      const children = Math.floor(((items - 1 - top) * (t + 1)) / top) - Math.floor(((items - 1 - top) * t) / top);
      for (let c = 0; c < children; ++c) out.push({ depth: 2 });
    }
    return out.map((x, i) => ({ ...x, picture: `img/i${i % 20}.gif` }));
  },
};
function project(list) {
  const pictures = list[0].picture !== undefined;
  let pml = `[Title]\tBench\r\n[BgColor]\t#FFFFFF\r\n[Browser]\tHTML5\r\n[Linkto]\t${pictures ? '' : 'linkto.gif'}\r\n`;
  pml += '0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n';
  list.forEach((x, k) => {
    const i = k + 1;
    pml += `${x.depth}\titem ${i}\t#FFFFFF\tNone\t1\t10pt\tp${i}.html\t0\tFrame2\t${x.picture || 'linkto.gif'}\t${x.open ? 1 : 0}\r\n`;
  });
  return pml;
}
// The same menu as nested nodes; `node` makes one in the library's terms.
function tree(list, node) {
  const root = { children: [] };
  const path = [root];
  list.forEach((x, k) => {
    path.length = x.depth;
    const n = node(k + 1, x);
    (path[x.depth - 1].children ||= []).push(n);
    path[x.depth] = n;
  });
  return root.children;
}

// A library's page: its style sheets and scripts, the menu as `data`, and
// `start`, which builds the tree and calls ready() once it is shown.
function libraryPage(files, data, start) {
  const css = files.filter((f) => f.endsWith('.css')).map((f) => `<link rel="stylesheet" href="${path.basename(f)}">`);
  const js = files.filter((f) => f.endsWith('.js')).map((f) => `<script src="${path.basename(f)}"></script>`);
  return `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Bench</title>${css.join('')}</head><body>
<div id="tree"></div>
${js.join('')}
<script>
function ready() { void document.body.offsetHeight; window.readyAt = performance.now(); }
var data = ${JSON.stringify(data)};
${start}
</script></body></html>`;
}

const libraries = [
  {
    name: 'jsTree 3.3.17',
    file: 'jstree',
    files: ['jquery/dist/jquery.min.js', 'jstree/dist/jstree.min.js', 'jstree/dist/themes/default/style.min.css'],
    page(list) {
      const data = tree(list, (i, x) => ({
        text: `item ${i}`, a_attr: { href: `p${i}.html`, target: 'Frame2' }, state: { opened: !!x.open },
        ...(x.picture ? { icon: x.picture } : {}),
      }));
      return libraryPage(this.files, data, "$('#tree').on('ready.jstree', ready).jstree({ core: { data: data } });");
    },
  },
  {
    name: 'Fancytree 2.38.5',
    file: 'fancytree',
    files: ['jquery/dist/jquery.min.js', 'jquery.fancytree/dist/jquery.fancytree-all-deps.min.js',
      'jquery.fancytree/dist/skin-win8/ui.fancytree.min.css'],
    page(list) {
      const data = tree(list, (i, x) => ({
        title: `item ${i}`, data: { href: `p${i}.html`, target: 'Frame2' }, expanded: !!x.open,
        ...(x.picture ? { icon: x.picture } : {}),
      }));
      return libraryPage(this.files, data, "$('#tree').fancytree({ source: data, init: ready });");
    },
  },
];

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'pomeli2-trees-'));
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--disable-gpu', '--no-sandbox'] });
try {
  fs.mkdirSync(path.join(dir, 'img'));
  for (let i = 0; i < 20; ++i) fs.copyFileSync(path.resolve(here, '../res/images/linkto.gif'), path.join(dir, `img/i${i}.gif`));
  for (const [shape, items] of (process.env.SHAPES || 'deep,wide').split(',').flatMap((sh) => sizes.map((n) => [sh, n]))) {
    const list = shapes[shape](items);
    // Ours, with a line after its tree script that marks the same moment.
    fs.writeFileSync(path.join(dir, 'menu.pml'), project(list));
    const ours = path.join(dir, 'pomeli2.html');
    execFileSync(tool, [path.join(dir, 'menu.pml'), '-o', ours, '--copy-images']);
    const written = fs.readFileSync(ours);
    const mark = '<script>void document.body.offsetHeight; window.readyAt = performance.now()</script>\r\n</body>';
    fs.writeFileSync(ours, written.toString('utf8').replace('</body>', mark));
    const pages = [{ name: 'pomeli2 HTML5', url: 'file://' + ours, bytes: [written] }];
    for (const lib of libraries) {
      const page = path.join(dir, `${lib.file}.html`);
      fs.writeFileSync(page, lib.page(list));
      const bytes = [fs.readFileSync(page)];
      for (const f of lib.files) {
        fs.copyFileSync(path.join(modules, f), path.join(dir, path.basename(f)));
        bytes.push(fs.readFileSync(path.join(modules, f)));
      }
      pages.push({ name: lib.name, url: 'file://' + page, bytes });
    }
    const seen = new Map(pages.map((p) => [p, { ready: [], paint: [], heap: [], elements: 0 }]));
    for (let i = 0; i < loads; ++i) {
      for (const p of pages) {
        const tab = await browser.newPage();
        const cdp = await tab.context().newCDPSession(tab);
        await cdp.send('Performance.enable');
        await tab.goto(p.url, { waitUntil: 'load' });
        await tab.waitForFunction(() => window.readyAt !== undefined, null, { timeout: 60000 });
        const m = await tab.evaluate(() => ({
          ready: window.readyAt,
          paint: (performance.getEntriesByName('first-contentful-paint')[0] || { startTime: NaN }).startTime,
          elements: document.getElementsByTagName('*').length,
          rows: [...document.querySelectorAll('#pomeli li > a:first-child, #tree a.jstree-anchor, #tree span.fancytree-node')]
            .filter((a) => a.getClientRects().length).length,
        }));
        const metrics = (await cdp.send('Performance.getMetrics')).metrics;
        const s = seen.get(p);
        s.ready.push(m.ready);
        s.paint.push(m.paint);
        s.heap.push(metrics.find((x) => x.name === 'JSHeapUsedSize').value);
        s.elements = m.elements;
        s.rows = m.rows;
        await tab.close();
      }
    }
    console.log(`${items} items, ${shape} (medians of ${loads} interleaved loads)`);
    const ourFigures = seen.get(pages[0]);
    for (const p of pages) {
      const s = seen.get(p);
      const gzip = p.bytes.reduce((sum, b) => sum + zlib.gzipSync(b).length, 0);
      s.gzip = gzip;
      console.log(`  ${p.name.padEnd(17)} ready ${median(s.ready).toFixed(0).padStart(5)} ms, first paint ` +
        `${median(s.paint).toFixed(0).padStart(5)} ms, ${(s.elements / items).toFixed(2)} elements per item, ` +
        `JS heap ${(median(s.heap) / 1e6).toFixed(1)} MB, ${(gzip / 1e3).toFixed(0)} kB gzipped, ${s.rows} rows shown`);
    }
    for (const p of pages.slice(1)) {
      const s = seen.get(p);
      console.log(`  pomeli2 / ${p.name}: ready ${(median(ourFigures.ready) / median(s.ready)).toFixed(2)}×, first paint ` +
        `${(median(ourFigures.paint) / median(s.paint)).toFixed(2)}×, elements ${(ourFigures.elements / s.elements).toFixed(2)}×, ` +
        `JS heap ${(median(ourFigures.heap) / median(s.heap)).toFixed(2)}×, gzipped ${(ourFigures.gzip / s.gzip).toFixed(2)}×`);
    }
  }
} finally {
  await browser.close();
  fs.rmSync(dir, { recursive: true, force: true });
}
