// Pages of the "HTML5" mode in Chromium and Firefox ESR: the tree driven by
// keyboard and mouse, its state over reloads, frames, reduced motion, no
// script at all, and axe-core's WCAG 2.2 A/AA rules.
import assert from 'node:assert/strict';
import { it } from 'node:test';
import { buildPage, eachBrowser, siteDir } from './support.mjs';

const dir = siteDir();
buildPage(dir, 'html5-all', ['--copy-images']);
for (const project of ['html5-unite', 'html5-nested']) buildPage(dir, project);
// The page under the name that one of its links leads to, in the same window.
buildPage(dir, 'html5-all', [], 'photo.html');
buildPage(dir, 'html5-frames', ['--frameset2', 'main2.html'], 'frames2.html');
buildPage(dir, 'html5-unite', ['--frameset3', 'unite3.html'], 'unite.html');

// In the page: every tree item by its text (an image-only title by its
// picture's text alternative).
function readTree() {
  const shownPicture = (img) => (/url\("?(?:.*\/)?([^/"]*)"?\)/.exec(getComputedStyle(img).content) || [])[1] ?? img.getAttribute('src');
  const items = {};
  for (const a of document.querySelectorAll('#pomeli li > a:first-child')) {
    const label = a.textContent.trim() || a.querySelector('img:last-child').alt;
    items[label] = {
      role: a.getAttribute('role'),
      shown: a.getClientRects().length > 0,
      expanded: a.getAttribute('aria-expanded'),
      tab: a.getAttribute('tabindex'),
      // A branch's button is a picture, drawn open by a style rule; a leaf's
      // is drawn by the style sheet.
      image: a.id ? shownPicture(a.querySelector('img')) : getComputedStyle(a, '::before').content,
      current: a.getAttribute('aria-current'),
    };
  }
  return items;
}
const focusedLabel = () => {
  const a = document.activeElement;
  return a && a.closest('#pomeli') ? a.textContent.trim() : `outside the tree (${a && a.tagName})`;
};
const shownLabels = (tree) => Object.keys(tree).filter((k) => tree[k].shown);

eachBrowser(', HTML5 mode', dir, (run) => {
  const tree = () => run.page.evaluate(readTree);
  const focused = () => run.page.focused(focusedLabel);
  async function keys(...list) {
    for (const k of list) await run.page.press(k);
  }

  it('is one tab stop that the arrow keys, Home, End, * and letters move through', async () => {
    await run.open('html5-nested.html');
    let t = await tree();
    assert.deepEqual(shownLabels(t), ['Alpha', 'Bravo', 'Charlie', 'Delta']);
    assert.equal(t.Alpha.role, 'treeitem');
    assert.equal(t.Alpha.expanded, 'false');
    assert.equal(t.Bravo.expanded, null);
    assert.deepEqual(Object.keys(t).filter((k) => t[k].tab === '0'), ['Alpha']);

    await keys('Tab');
    assert.equal(await focused(), 'Alpha');
    await keys('ArrowDown');
    assert.equal(await focused(), 'Bravo');
    await keys('ArrowUp', 'ArrowRight');
    t = await tree();
    assert.equal(await focused(), 'Alpha');
    assert.equal(t.Alpha.expanded, 'true');
    assert.equal(t.Alpha.image, 'minus.gif');
    assert.deepEqual(shownLabels(t), ['Alpha', 'Alpha one', 'Alpha two', 'Bravo', 'Charlie', 'Delta']);

    await keys('ArrowRight');
    assert.equal(await focused(), 'Alpha one');
    await keys('ArrowRight', 'ArrowRight');
    assert.equal(await focused(), 'Alpha one a');
    await keys('ArrowDown', 'ArrowDown');
    assert.equal(await focused(), 'Alpha two');
    await keys('ArrowLeft');
    assert.equal(await focused(), 'Alpha');
    // Closing a branch that holds the focus brings it back to the branch.
    await keys('ArrowDown', 'ArrowDown', 'ArrowUp', 'ArrowUp', 'ArrowLeft');
    assert.equal(await focused(), 'Alpha');
    t = await tree();
    assert.equal(t.Alpha.expanded, 'false');
    assert.equal(t.Alpha.image, 'plus.gif');
    assert.equal(t['Alpha one'].expanded, 'true', 'a nested branch keeps its state');

    await keys('End');
    assert.equal(await focused(), 'Delta');
    await keys('Home');
    assert.equal(await focused(), 'Alpha');
    await keys('c');
    assert.equal(await focused(), 'Charlie');
    await new Promise((r) => setTimeout(r, 600));  // past the type-ahead's half second
    await keys('b');
    assert.equal(await focused(), 'Bravo');
    await keys('*');
    t = await tree();
    assert.equal(t.Alpha.expanded, 'true');
    assert.equal(t.Charlie.expanded, 'true');
    await keys('End');
    assert.equal(await focused(), 'Delta');
    await keys('ArrowUp');
    assert.equal(await focused(), 'Charlie two');
    // Enter on a branch without a link opens or closes it.
    await keys('ArrowLeft', 'Enter');
    assert.equal((await tree()).Charlie.expanded, 'false');

    // Tab leaves the tree; Shift+Tab comes back to the same item.
    await run.page.evaluate(() => document.body.insertAdjacentHTML('beforeend', '<button>after</button>'));
    t = await tree();
    assert.deepEqual(Object.keys(t).filter((k) => t[k].tab === '0'), ['Charlie']);
    await keys('Tab');
    assert.equal(await focused(), 'outside the tree (BUTTON)');
    await keys('Shift+Tab');
    assert.equal(await focused(), 'Charlie');
  });

  it('remembers the open branches over a reload, before the items marked open', async () => {
    await run.open('html5-all.html');
    let t = await tree();
    // Both top-level branches are marked open; one at a time shows the first.
    assert.equal(t['製品'].expanded, 'true');
    assert.equal(t['サポート'].expanded, 'false');
    assert.equal(t['道具'].shown, true);

    await run.page.click('#t4 > img');
    await run.page.click('#t8 > img');
    await run.page.reload();
    t = await tree();
    assert.equal(t['サポート'].expanded, 'true');
    assert.equal(t['製品'].expanded, 'false');
    assert.equal(t['道具'].expanded, 'true');
    assert.deepEqual(shownLabels(t), ['はじめに', '製品', 'サポート', '質問', '連絡', 'English']);

    await run.page.click('#t8 > img');
    await run.page.reload();
    t = await tree();
    assert.equal(t['サポート'].expanded, 'false');
    assert.equal(t['製品'].expanded, 'false', 'nothing open is remembered, not the marks');
  });

  it('folds a top-level branch with the animation, at once when motion is reduced', async () => {
    await run.open('html5-all.html');
    // Clicked and read in one go: no animation frame can come between.
    const folding = await run.page.evaluate(() => {
      document.querySelector('#t8 > img').click();
      const g = document.getElementById('t2').nextElementSibling;
      return { expanded: g.previousElementSibling.getAttribute('aria-expanded'), shown: g.offsetHeight > 0 };
    });
    assert.deepEqual(folding, { expanded: 'false', shown: true }, 'still folding right after the click');
    await run.page.waitFor(() => document.getElementById('t2').nextElementSibling.getClientRects().length === 0);
    assert.equal((await tree())['サポート'].expanded, 'true');

    const reduced = await run.kind.launch({ reducedMotion: true });
    try {
      const still = await reduced.newPage();
      await still.goto(run.url('html5-all.html'));
      await still.click('#t8 > img');
      assert.equal(await still.evaluate(() => document.getElementById('t2').nextElementSibling.getClientRects().length), 0);
      assert.deepEqual(still.errors, []);
    } finally {
      await reduced.close();
    }
  });

  it('paints the hover colours over the items\' own backgrounds, links and branches alike', async () => {
    await run.open('html5-all.html');
    const look = (selector) => run.page.evaluate((s) => {
      const style = getComputedStyle(document.querySelector(s));
      return [style.color, style.backgroundColor];
    }, selector);
    assert.deepEqual(await look('#t8'), ['rgb(0, 0, 204)', 'rgb(204, 255, 255)']);
    for (const selector of ['a[href="intro.html"]', '#t8']) {
      await run.page.hover(selector);
      assert.deepEqual(await look(selector), ['rgb(153, 0, 0)', 'rgb(255, 255, 204)'], selector);
    }
  });

  it('shows every link as nested lists without JavaScript', async () => {
    const scriptless = await run.kind.launch({ javaScript: false });
    try {
      const plain = await scriptless.newPage();
      await plain.goto(run.url('html5-all.html'));
      const seen = await plain.evaluate(() => ({
        tree: document.querySelectorAll('[role]').length,
        links: [...document.querySelectorAll('#pomeli a[href]')].filter((a) => a.getClientRects().length === 0).length,
        total: document.querySelectorAll('#pomeli a[href]').length,
        deep: document.querySelector('a[href="deep.html"]').getBoundingClientRect().left,
        top: document.querySelector('a[href="intro.html"]').getBoundingClientRect().left,
      }));
      assert.equal(seen.tree, 0, 'no tree roles without the script');
      assert.equal(seen.links, 0, 'every link is shown');
      assert.equal(seen.total, 10);
      assert.equal(seen.deep - seen.top, 48, 'two levels of 24-pixel indent');
    } finally {
      await scriptless.close();
    }
  });

  it('marks the link of the page itself as current and opens its branch', async () => {
    await run.open('photo.html');
    const t = await tree();
    assert.equal(t['写真'].current, 'page');
    assert.equal(t['写真'].tab, '0');
    assert.equal(t['製品'].expanded, 'true');
    assert.equal(t['はじめに'].current, null);
  });

  it('follows links and frame buttons inside a frame set', async () => {
    await run.open('main2.html');
    await run.page.waitForFrameUrl('Right', 'frameright.html');
    const menu = await run.page.frame('Frame1');
    const menuTree = () => menu.evaluate(readTree);
    // The branch's link opens in the right frame while the branch opens.
    await run.page.clickIn(menu, 'a[href="guide.html"]');
    await run.page.waitForFrameUrl('Right', 'guide.html');
    assert.equal((await menuTree()).Guide.expanded, 'true');
    // Its button only closes it.
    await run.page.clickIn(menu, '#t1 > img');
    assert.equal((await menuTree()).Guide.expanded, 'false');
    await run.page.clickIn(menu, '#t1 > img');
    await run.page.clickIn(menu, 'a[href="g1.html"]');
    await run.page.waitForFrameUrl('Right', 'g1.html');
    // Enter follows the focused item's link.
    await keys('ArrowDown', 'ArrowDown', 'Enter');
    await run.page.waitForFrameUrl('Right', 'w.html');
    // The leave-frames button loads its link into the whole window, from
    // the keyboard by Shift+Enter on its item, and by the mouse.
    await keys('ArrowUp', 'Shift+Enter');
    await run.page.waitFor(() => location.pathname === '/outside.html');
    // Back in the frame set, the menu shows the branch it had open.
    await run.open('main2.html');
    await run.page.waitForFrameUrl('Right', 'frameright.html');
    const again = await run.page.waitForFrameUrl('Frame1', 'frames2.html');
    await again.waitForFunction(() => document.readyState === 'complete');
    assert.equal((await again.evaluate(readTree)).Guide.expanded, 'true');
    await run.page.clickIn(again, 'a.x[href="outside.html"]');
    await run.page.waitFor(() => location.pathname === '/outside.html');
  });

  it('unites button and text: the button opens the branch and follows its link', async () => {
    await run.open('unite3.html');
    await run.page.waitForFrameUrl('Right', 'frameright.html');
    const menu = await run.page.frame('Frame1');
    assert.equal(await menu.evaluate(() => document.querySelectorAll('#pomeli a.x').length), 0);
    await run.page.clickIn(menu, '#t1 > img');
    await run.page.waitForFrameUrl('Right', 'guide.html');
    const t = await menu.evaluate(readTree);
    assert.equal(t.Guide.expanded, 'true');
    assert.equal(t['Guide two'].expanded, 'true', 'marked open at load');
    assert.equal(t['Guide two a'].shown, true);
  });

  it('has no WCAG 2.2 A or AA violations, closed and with every branch open', async () => {
    for (const name of ['html5-all.html', 'html5-unite.html', 'html5-nested.html', 'frames2.html']) {
      await run.open(name);
      assert.deepEqual(await run.page.axe(), [], `${name} as loaded`);
      // Every branch opened by the keyboard: * on each level, top level first.
      await run.page.evaluate(() => document.querySelector('#pomeli [tabindex="0"]').focus());
      await keys('Home', '*');
      for (let i = 0; i < 12; ++i) await keys('ArrowDown', '*');
      assert.deepEqual(await run.page.axe(), [], `${name} opened`);
    }
  });
});
