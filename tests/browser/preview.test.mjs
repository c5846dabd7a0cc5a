// The editor's preview, opened in Chromium as the desktop would open it:
// the standard images show although the page's folder has none, links
// resolve in the page's folder, and the menu opens a branch.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, it } from 'node:test';
import { browsers, projectsDir, previewTool, readItems, siteDir } from './support.mjs';

describe('Preview in Chromium', () => {
  const dir = siteDir();
  let tool;
  let url;
  let browser;

  before(async () => {
    tool = spawn(previewTool, [path.join(projectsDir, 'nested-all.pml'), dir], { stdio: ['pipe', 'pipe', 'inherit'] });
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
      const images = await page.evaluate(() =>
        Array.from(document.images).map((i) => ({ src: i.getAttribute('src'), ok: i.complete && i.naturalWidth > 0 })));
      assert.ok(images.length > 5);
      for (const image of images) assert.ok(image.ok, `${image.src} did not load`);
      const link = await page.evaluate(() => document.querySelector('#t6 a').href);
      assert.equal(link, `file://${dir}/b.html`);
      await page.click('#t1 img[name="i1"]');
      const items = await page.evaluate(readItems);
      assert.equal(items[2].visible, true);
      assert.deepEqual(page.errors, []);
    } finally {
      await page.close();
    }
  });
});
