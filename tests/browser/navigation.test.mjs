// The "HTML5" page as a site's navigation, in Chromium and Firefox ESR: the
// current page on a page of its own and in a frame set, the open branches
// shared by the pages of one menu, the filter box, the keys beyond the
// arrows, and the page's geometry (target size, reflow, print, right to
// left, dark palette).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { it } from 'node:test';
import { fileURLToPath } from 'node:url';
import { projectFile } from './random_projects.mjs';
import { buildTool, eachBrowser, siteDir } from './support.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const dir = siteDir();
const build = (name, settings, items, args = []) => {
  const project = path.join(dir, `${name}.pml`);
  fs.writeFileSync(project, projectFile(settings, items));
  execFileSync(buildTool, [project, '-o', path.join(dir, `${name}.html`), '--copy-images', ...args], { stdio: 'pipe' });
};

// A site menu: two branches with links of their own, 40 leaves in the
// second, so that its last ones lie below a 600-pixel window.
const site = [
  [1, 'Guide', '/guide/index.html', '1'],
  [2, 'Install', '/guide/install.html'],
  [2, 'Usage', '/guide/usage.html?lang=ja#top'],
  [1, 'Reference', '/ref/'],
  ...Array.from({ length: 40 }, (_, i) => [2, `Page ${i + 1}`, `/ref/p${i + 1}.html`]),
  [1, 'Elsewhere', 'http://localhost:1/outside.html'],
  [1, 'Folder', ''],
  [2, 'Deep', ''],
  [3, 'Deepest', '/deep.html'],
];
build('menu', { Filter: '1' }, site);
// The same menu under the names of two of its pages, and of another page.
fs.mkdirSync(path.join(dir, 'ref'));
fs.mkdirSync(path.join(dir, 'guide'));
fs.copyFileSync(path.join(dir, 'menu.html'), path.join(dir, 'ref/p38.html'));
fs.copyFileSync(path.join(dir, 'menu.html'), path.join(dir, 'guide/index.html'));
fs.copyFileSync(path.join(dir, 'menu.html'), path.join(dir, 'other.html'));
// In a frame set whose right frame is "Right".
build('framed', { Filter: '1', RightFrame: 'Right', FirstPage: 'guide/' }, site, ['--frameset2', 'frames.html']);

// The folding table shared with the editor's find bar: one item per case.
const cases = fs.readFileSync(path.resolve(here, '../text/search_fold_cases.txt'), 'utf8').split('\n')
  .filter((l) => l && !l.startsWith('#')).map((l) => l.split('\t'));
build('fold', { Filter: '1' }, [[1, 'Cases', '', '1'], ...cases.map(([title], i) => [2, title, `c${i}.html`])]);

const long = 'x'.repeat(120);
build('wide', { Filter: '1', Dir: 'rtl', Lang: 'ar', Dark: '1', TextBackOn: '1', BodyHover: '#990000', BodyHoverBack: '#FFFFCC' }, [
  [1, 'Branch', 'b.html', '1'], [2, long, 'http://example.com/' + long], [2, 'Child', 'c.html'],
  [1, 'Second', 'http://example.com/second'], [2, 'Hidden', 'https://example.org/h'],
]);

// What the filter shows of the site menu for a lower-case text: the items
// whose title or link holds it and their ancestors, those open.
function filtered(text) {
  const holds = ([, title, link]) => `${title}\n${link}`.toLowerCase().includes(text);
  const shownItems = [], open = [];
  site.forEach(([depth, title], i) => {
    const end = site.findIndex(([d], j) => j > i && d <= depth);
    const below = site.slice(i + 1, end < 0 ? site.length : end).some(holds);
    if (below || holds(site[i])) shownItems.push(title);
    if (below) open.push(title);
  });
  return [shownItems, open];
}

const exactlyOneCurrent = () => [...document.querySelectorAll('#pomeli [aria-current]')].map((a) => a.textContent);
const focusedText = () => document.activeElement.textContent;
const shown = () => [...document.querySelectorAll('#pomeli li > a:first-child')]
  .filter((a) => a.getClientRects().length).map((a) => a.textContent);
const expanded = () => [...document.querySelectorAll('#pomeli [aria-expanded=true]')].map((a) => a.textContent);
const shownOpen = () => [...document.querySelectorAll('#pomeli [aria-expanded=true]')]
  .filter((a) => a.getClientRects().length).map((a) => a.textContent);

eachBrowser(', HTML5 navigation', dir, (run) => {
  const press = async (...keys) => { for (const k of keys) await run.page.press(k); };
  async function typeFilter(text) {
    await run.page.evaluate((t) => {
      const box = document.getElementById('pomeli-q');
      box.value = t;
      box.dispatchEvent(new Event('input'));
    }, text);
  }

  it('marks exactly one current page, opens to it and scrolls it into view', async () => {
    await run.page.setViewport(800, 600);
    await run.open('ref/p38.html');
    assert.deepEqual(await run.page.evaluate(exactlyOneCurrent), ['Page 38']);
    const box = await run.page.evaluate(() => {
      const r = document.querySelector('[aria-current]').getBoundingClientRect();
      return { top: r.top, bottom: r.bottom, height: innerHeight };
    });
    assert.ok(box.top >= 0 && box.bottom <= box.height, `inside the window: ${JSON.stringify(box)}`);
    // A folder's link is current on its index.html.
    await run.open('guide/index.html');
    assert.deepEqual(await run.page.evaluate(exactlyOneCurrent), ['Guide']);
  });

  it('follows the content frame, and the item last clicked when it cannot see it', async () => {
    await run.open('frames.html');
    const menu = await run.page.waitForFrameUrl('Frame1', 'framed.html');
    await run.page.waitForFrameUrl('Right', '/guide/');
    await menu.waitForFunction(() => document.querySelectorAll('#pomeli [aria-current]').length === 1);
    assert.deepEqual(await menu.evaluate(exactlyOneCurrent), ['Guide'], 'the first page, a folder');
    await run.page.clickIn(menu, 'a[href="/guide/usage.html?lang=ja#top"]');
    await run.page.waitForFrameUrl('Right', 'usage.html?lang=ja#top');
    assert.deepEqual(await menu.evaluate(exactlyOneCurrent), ['Usage']);
    // A page the content frame goes to by itself.
    const right = await run.page.frame('Right');
    await right.evaluate(() => { location.href = '/ref/p3.html?from=x'; });
    await run.page.waitForFrameUrl('Right', 'p3.html?from=x');
    await menu.waitForFunction(() => document.querySelector('[aria-current]').textContent === 'Page 3');
    assert.deepEqual(await menu.evaluate(exactlyOneCurrent), ['Page 3']);
    assert.ok(await menu.evaluate(() => document.querySelector('[aria-current]').getClientRects().length > 0));
    // Another origin: the frame cannot be read, the click says.
    await run.page.evaluate(() => {
      const a = frames.Frame1.document.querySelector('a[href^="http://localhost"]');
      a.href = a.href.replace(':1/', `:${location.port}/`);
    });
    await menu.evaluate(() => document.querySelector('a[href^="http://localhost"]').scrollIntoView());
    await run.page.clickIn(menu, 'a[href^="http://localhost"]');
    await run.page.waitForFrameUrl('Right', 'outside.html');
    assert.deepEqual(await menu.evaluate(exactlyOneCurrent), ['Elsewhere']);
  });

  it('opens to an item named by the fragment and focuses it', async () => {
    await run.open('menu.html#t48');
    assert.equal(await run.page.evaluate(focusedText), 'Deepest');
    assert.deepEqual(await run.page.evaluate(expanded), ['Guide', 'Folder', 'Deep']);
  });

  it('shares the open branches between the pages of a menu, and forgets them when it changes', async () => {
    await run.open('menu.html');
    assert.deepEqual(await run.page.evaluate(expanded), ['Guide'], 'the author\'s marks');
    await run.page.click('#t1 > img');
    await run.page.click('#t4 > img');
    await run.open('other.html');
    assert.deepEqual(await run.page.evaluate(expanded), ['Reference']);
    build('menu', { Filter: '1' }, [...site, [1, 'New', 'new.html']]);
    await run.open('menu.html');
    assert.deepEqual(await run.page.evaluate(expanded), ['Guide'], 'another menu: the marks again');
    build('menu', { Filter: '1' }, site);

    // A storage that throws leaves the page working.
    await run.page.initScript(() => {
      Object.defineProperty(window, 'localStorage', { get() { throw new Error('denied'); } });
    });
    await run.open('other.html');
    await run.page.click('#t4 > img');
    assert.deepEqual(await run.page.evaluate(expanded), ['Guide', 'Reference']);
  });

  it('filters by the table of folded texts, counts, and gives back the open branches', async () => {
    await run.open('fold.html');
    const label = await run.page.evaluate(() => document.querySelector('label[for=pomeli-q]').textContent);
    assert.equal(label, '絞り込み');
    for (const [title, typed, match] of cases) {
      await typeFilter(typed);
      const seen = await run.page.evaluate(shown);
      assert.equal(seen.includes(title), match === '1', `${title} / ${typed}`);
    }
    await run.open('menu.html');
    await run.page.click('#t46 > img');
    await typeFilter('PAGE 1');
    assert.deepEqual(await run.page.evaluate(shown), ['Reference', 'Page 1', ...Array.from({ length: 10 }, (_, i) => `Page ${10 + i}`)]);
    assert.equal(await run.page.evaluate(() => document.querySelector('#pomeli [role=status]').textContent), '11件');
    await run.page.evaluate(() => document.getElementById('pomeli-q').focus());
    await press('Escape');
    assert.deepEqual(await run.page.evaluate(expanded), ['Guide', 'Folder']);
    assert.equal(await run.page.evaluate(() => document.querySelector('#pomeli [role=status]').textContent), '');
    await typeFilter('deepest');
    assert.deepEqual(await run.page.evaluate(shown), ['Folder', 'Deep', 'Deepest']);
    // One text after another, narrowing and widening, without emptying the box.
    for (const text of ['page', 'page 1', 'deep', 'e', 'page 3', 'guide', 'ref', 'usage']) {
      await typeFilter(text);
      assert.deepEqual([await run.page.evaluate(shown), await run.page.evaluate(shownOpen)], filtered(text), text);
    }
    await typeFilter('');
    assert.deepEqual(await run.page.evaluate(expanded), ['Guide', 'Folder']);
  });

  it('follows a link by Space, finds by several letters, and closes every branch by -', async () => {
    await run.open('menu.html');
    await run.page.evaluate(() => document.querySelector('#pomeli [tabindex="0"]').focus());
    await press('*');
    await press('p', 'a', 'g', 'e', ' ', '2', '0');
    assert.equal(await run.page.evaluate(focusedText), 'Page 20');
    await new Promise((r) => setTimeout(r, 600));  // past the type-ahead's half second
    await press('f');
    assert.equal(await run.page.evaluate(focusedText), 'Folder');
    await press('ArrowUp', 'ArrowUp', '-');
    assert.deepEqual(await run.page.evaluate(expanded), []);
    assert.equal(await run.page.evaluate(focusedText), 'Reference');
    await press(' ');
    await run.page.waitFor(() => location.pathname === '/ref/');
  });

  it('has toggles of 24 by 24 pixels, no sideways scroll at 320 pixels, and prints every link', async () => {
    await run.page.setViewport(320, 600);
    await run.open('wide.html');
    const sizes = await run.page.evaluate(() => [...document.querySelectorAll('#pomeli a[href][aria-expanded] > img:first-child')]
      .map((img) => [img.getBoundingClientRect().width, img.getBoundingClientRect().height]));
    assert.ok(sizes.length > 0);
    for (const [w, h] of sizes) assert.ok(w >= 24 && h >= 24, `${w}x${h}`);
    assert.equal(await run.page.evaluate(() => document.documentElement.scrollWidth), 320);
    await run.page.printMedia();
    const printed = await run.page.evaluate(() => [...document.querySelectorAll('#pomeli li > a:first-child[href]')]
      .map((a) => [a.getClientRects().length > 0, getComputedStyle(a, '::after').content]));
    assert.equal(printed.length, 5);
    assert.ok(printed.every(([visible]) => visible), 'every link shown');
    // Chromium gives the address itself, Firefox the attr() that gives it.
    assert.equal(printed.filter(([, after]) => /example|attr\(href\)/.test(after)).length, 3, 'external addresses printed');
  });

  it('keeps the focus outline and the current page visible in forced colours', async (t) => {
    if (!(await run.page.forcedColors())) return t.skip('no forced colours to emulate');
    await run.open('ref/p38.html');
    await run.page.evaluate(() => document.querySelector('#pomeli [tabindex="0"]').focus());
    await press('ArrowDown');
    const look = await run.page.evaluate(() => {
      const focused = getComputedStyle(document.activeElement);
      return [focused.outlineStyle, focused.outlineWidth, getComputedStyle(document.querySelector('[aria-current]')).textDecorationLine];
    });
    assert.deepEqual(look, ['solid', '2px', 'underline']);
  });

  it('indents from the right when right to left', async () => {
    await run.open('wide.html');
    const edges = await run.page.evaluate(() => ['Branch', 'Child'].map((t) => [...document.querySelectorAll('#pomeli a')]
      .find((a) => a.textContent === t).getBoundingClientRect().right));
    assert.ok(edges[1] <= edges[0] - 20, `child ends left of its parent: ${edges}`);
  });

  it('reads at 4.5:1 or more in the dark palette', async () => {
    const dark = await run.kind.launch({ dark: true });
    try {
      const page = await dark.newPage();
      await page.goto(run.url('wide.html'));
      assert.equal(await page.evaluate(() => getComputedStyle(document.body).colorScheme), 'light dark');
      assert.notEqual(await page.evaluate(() => getComputedStyle(document.body).backgroundColor), 'rgb(255, 255, 255)');
      await page.evaluate(() => document.querySelector('#pomeli [aria-expanded=false] > img').click());
      assert.deepEqual(await page.axe(), []);
      await page.hover('a[href="c.html"]');
      assert.deepEqual(await page.axe(), [], 'hovered');
      assert.deepEqual(page.errors, []);
    } finally {
      await dark.close();
    }
  });
});
