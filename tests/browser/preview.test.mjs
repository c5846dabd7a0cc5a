// The editor's preview, opened in Chromium as the desktop would open it:
// the standard images show although the page's folder has none, links
// resolve in the page's folder, and the menu opens a branch.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, it } from 'node:test';
import { browsers, projectsDir, previewTool, siteDir } from './support.mjs';

// The menu of each mode: its link to b.html and the button of its first branch.
const modes = [
  { project: 'nested-all', link: '#t6 a', button: '#t1 img[name="i1"]',
    opened: () => document.getElementById('t2').style.visibility === 'visible' },
  { project: 'html5-nested', link: 'a[href="b.html"]', button: '#t1 > img',
    opened: () => document.getElementById('t1').getAttribute('aria-expanded') === 'true' },
];

for (const mode of modes) {
  describe(`Preview in Chromium (${mode.project})`, () => {
    const dir = siteDir();
    let tool;
    let url;
    let browser;

    before(async () => {
      tool = spawn(previewTool, [path.join(projectsDir, `${mode.project}.pml`), dir], { stdio: ['pipe', 'pipe', 'inherit'] });
      url = await new Promise((resolve, reject) => {
        tool.stdout.once('data', (d) => resolve(String(d).trim()));
        tool.once('exit', (code) => reject(new Error(`preview_page ended with ${code}`)));
      });
      browser = await browsers[0].launch();
    });
    after(async () => {
      try {
        if (browser) await browser.close();
      } finally {
        tool.stdin.end();
      }
    });

    it('shows its images, resolves links in the page folder and opens a branch', async () => {
      assert.ok(fs.existsSync(path.join(dir, 'menu.html')), 'the page was saved first');
      assert.ok(!fs.existsSync(path.join(dir, 'plus.gif')), 'the page folder has no images');
      const page = await browser.newPage();
      try {
        await page.goto(url);
        // Every picture the page shows, loaded anew: the HTML5 mode draws its
        // leaves' buttons from the style sheet.
        const images = await page.evaluate(() => {
          const urls = Array.from(document.images, (i) => i.src);
          for (const a of document.querySelectorAll('#pomeli li > a:first-child:not([id])')) {
            const drawn = /^url\("(.*?)"\)/.exec(getComputedStyle(a, '::before').content);
            if (drawn) urls.push(drawn[1]);
          }
          return Promise.all([...new Set(urls)].map((src) => new Promise((resolve) => {
            const image = new Image();
            image.onload = () => resolve({ src, ok: image.naturalWidth > 0 });
            image.onerror = () => resolve({ src, ok: false });
            image.src = src;
          })));
        });
        const names = images.map((i) => i.src.replace(/.*\//, ''));
        for (const name of ['plus.gif', 'linkto.gif']) assert.ok(names.includes(name), `${name} is shown`);
        for (const image of images) assert.ok(image.ok, `${image.src} did not load`);
        const link = await page.evaluate((selector) => document.querySelector(selector).href, mode.link);
        assert.equal(link, `file://${dir}/b.html`);
        await page.click(mode.button);
        assert.ok(await page.evaluate(mode.opened));
        assert.deepEqual(page.errors, []);
      } finally {
        await page.close();
      }
    });
  });
}
