// Menu pages built by pomeli2-build, clicked in Chromium and Firefox ESR.
// Positions and visibility are read from the page itself.
import assert from 'node:assert/strict';
import { it } from 'node:test';
import { buildPage, eachBrowser, readItems, siteDir } from './support.mjs';

const dir = siteDir();
buildPage(dir, 'nested-all', ['--copy-images']);
for (const project of ['nested-all', 'nested-nn6', 'nested-ie', 'nested-nn4', 'nested-unknown', 'closetree-all',
  'closetree-nn6', 'closeitems-all', 'closeitems-nn6', 'opentree', 'opentree-closetree', 'escapes']) {
  buildPage(dir, project);
}
buildPage(dir, 'frames', ['--frameset2', 'main2.html', '--copy-images'], 'frames2.html');
buildPage(dir, 'frames', ['--frameset3', 'main3.html'], 'frames3.html');

// Tops of the visible items and the numbers of the hidden ones.
function layout(items) {
  const shown = {};
  const hidden = [];
  for (const [n, item] of Object.entries(items)) {
    if (item.visible) shown[n] = item.top;
    else hidden.push(Number(n));
  }
  return { shown, hidden: hidden.sort((a, b) => a - b) };
}

const INITIAL = { shown: { 1: 10, 6: 26, 7: 42, 10: 58 }, hidden: [2, 3, 4, 5, 8, 9] };

eachBrowser('', dir, (run) => {
  const items = () => run.page.evaluate(readItems);
  const clickButton = (n) => run.page.click(`#t${n} img[name="i${n}"]`);

  it('lays out top-level items and hides the rest', async () => {
    await run.open('nested-all.html');
    const state = await items();
    assert.deepEqual(layout(state), INITIAL);
    assert.equal(state[1].left, 10);
    assert.equal(state[2].left, 30);
    assert.equal(state[3].left, 50);
    assert.equal(state[1].image, 'plus.gif');
    assert.equal(state[6].image, 'linkto.gif');
  });

  for (const mode of ['nested-nn6', 'nested-all']) {
    it(`opens and closes nested branches (${mode})`, async () => {
      await run.open(`${mode}.html`);
      await clickButton(1);
      let state = await items();
      assert.deepEqual(layout(state), { shown: { 1: 10, 2: 26, 5: 42, 6: 58, 7: 74, 10: 90 }, hidden: [3, 4, 8, 9] });
      assert.equal(state[1].image, 'minus.gif');

      await clickButton(2);
      state = await items();
      assert.deepEqual(layout(state), {
        shown: { 1: 10, 2: 26, 3: 42, 4: 58, 5: 74, 6: 90, 7: 106, 10: 122 }, hidden: [8, 9],
      });
      assert.equal(state[2].image, 'minus.gif');

      await clickButton(7);
      assert.deepEqual(layout(await items()), {
        shown: { 1: 10, 2: 26, 3: 42, 4: 58, 5: 74, 6: 90, 7: 106, 8: 122, 9: 138, 10: 154 }, hidden: [],
      });

      await clickButton(1);
      state = await items();
      assert.deepEqual(layout(state), { shown: { 1: 10, 6: 26, 7: 42, 8: 58, 9: 74, 10: 90 }, hidden: [2, 3, 4, 5] });
      assert.equal(state[1].image, 'plus.gif');
      assert.equal(state[2].image, 'plus.gif', 'a closed nested branch gets its plus image back');

      await clickButton(7);
      await clickButton(1);
      assert.deepEqual(layout(await items()), {
        shown: { 1: 10, 2: 26, 5: 42, 6: 58, 7: 74, 10: 90 }, hidden: [3, 4, 8, 9],
      });
    });
  }

  for (const mode of ['closetree-nn6', 'closetree-all']) {
    it(`keeps only one top-level branch open (${mode})`, async () => {
      await run.open(`${mode}.html`);
      await clickButton(1);
      await clickButton(2);
      await clickButton(7);
      let state = await items();
      assert.deepEqual(layout(state), { shown: { 1: 10, 6: 26, 7: 42, 8: 58, 9: 74, 10: 90 }, hidden: [2, 3, 4, 5] });
      assert.equal(state[1].image, 'plus.gif');
      assert.equal(state[7].image, 'minus.gif');

      await clickButton(7);
      assert.deepEqual(layout(await items()), INITIAL);

      // A top-level leaf's link closes every open branch before it opens.
      await clickButton(1);
      await run.page.evaluate(() => {
        window.open = (url, target) => { window.openedWith = [url, target]; };
      });
      await clickButton(6);
      assert.deepEqual(await run.page.evaluate(() => window.openedWith), ['b.html', 'Frame2']);
      assert.deepEqual(layout(await items()), INITIAL);
    });
  }

  for (const mode of ['closeitems-nn6', 'closeitems-all']) {
    it(`animates the closing of a top-level branch (${mode})`, async () => {
      await run.open(`${mode}.html`);
      // Row 10: tops 10, 20, 30, 40, 50 for Alpha, Bravo, Charlie, Delta, Echo.
      // Echo's one shown child at Row 10 and Speed 12: the close ends in its
      // first step, before any animation has set a timer.
      await clickButton(11);
      assert.deepEqual(layout(await items()).shown, { 1: 10, 6: 20, 7: 30, 10: 40, 11: 50, 12: 60 });
      await clickButton(11);
      await run.page.waitFor(() => getComputedStyle(document.getElementById('t12')).visibility === 'hidden');
      let state = await items();
      assert.deepEqual(layout(state).shown, { 1: 10, 6: 20, 7: 30, 10: 40, 11: 50 });
      assert.equal(state[11].image, 'plus.gif');

      await clickButton(1);
      assert.deepEqual(layout(await items()), {
        shown: { 1: 10, 2: 20, 5: 30, 6: 40, 7: 50, 10: 60, 11: 70 }, hidden: [3, 4, 8, 9, 12],
      });
      await clickButton(1);
      await run.page.waitFor(() => getComputedStyle(document.getElementById('t2')).visibility === 'hidden');
      state = await items();
      assert.deepEqual(layout(state), {
        shown: { 1: 10, 6: 20, 7: 30, 10: 40, 11: 50 }, hidden: [2, 3, 4, 5, 8, 9, 12],
      });
      assert.equal(state[1].image, 'plus.gif');

      // Opening another branch closes the open one with the animation first.
      await clickButton(7);
      await clickButton(1);
      await run.page.waitFor(() => getComputedStyle(document.getElementById('t8')).visibility === 'hidden');
      await run.page.waitFor(() => getComputedStyle(document.getElementById('t2')).visibility === 'visible');
      assert.deepEqual(layout(await items()).shown, { 1: 10, 2: 20, 5: 30, 6: 40, 7: 50, 10: 60, 11: 70 });
    });
  }

  it('opens marked branches when the page loads', async () => {
    await run.open('opentree.html');
    const state = await items();
    assert.deepEqual(layout(state), { shown: { 1: 10, 6: 26, 7: 42, 8: 58, 9: 74, 10: 90 }, hidden: [2, 3, 4, 5] });
    assert.equal(state[7].image, 'minus.gif');
    assert.equal(state[10].image, 'linkto.gif', 'a top-level leaf marked open keeps its link image');

    await run.open('opentree-closetree.html');
    const closeTree = await items();
    assert.deepEqual(layout(closeTree).shown, { 1: 10, 2: 26, 5: 42, 6: 58, 7: 74, 10: 90 });
  });

  for (const mode of ['nested-ie', 'nested-nn4', 'nested-unknown']) {
    it(`loads a page for other browsers without errors (${mode})`, async () => {
      await run.open(`${mode}.html`);
      assert.deepEqual(layout(await items()), INITIAL);
      await clickButton(1);
      const expected = mode === 'nested-unknown'
        ? { shown: { 1: 10, 2: 26, 5: 42, 6: 58, 7: 74, 10: 90 }, hidden: [3, 4, 8, 9] }
        : INITIAL;
      assert.deepEqual(layout(await items()), expected);
    });
  }

  it('passes stored values with quotes and backslashes to the script intact', async () => {
    await run.open('escapes.html');
    // Row "010" and Indent "020" are ten and twenty, not octal.
    assert.deepEqual(layout(await items()), { shown: { 1: 10, 2: 20, 5: 30 }, hidden: [3, 4] });
    await run.page.evaluate(() => {
      window.opened = [];
      window.open = (url, target) => { window.opened.push([url, target]); };
    });
    await run.page.click('#t1 a:nth-of-type(2)');
    await run.page.click('#t5 a:nth-of-type(2)');
    await run.page.click('#t2 a:nth-of-type(2)');
    const opened = await run.page.evaluate(() => window.opened);
    assert.deepEqual(opened[0], ["it's.html", 'Frame2']);
    assert.deepEqual(opened[1], ['\u8868\\\u30bd.html', 'Frame2']);
    assert.deepEqual(opened[2], ['dir\\file.htm', 'Frame2']);
    const state = await items();
    assert.deepEqual(layout(state), { shown: { 1: 10, 2: 20, 3: 30, 4: 40, 5: 50 }, hidden: [] });
    assert.equal(state[2].image, 'img\\minus.gif');

    await run.page.click('#t4 a[onclick^="ChangeTop"]');
    await run.page.waitFor(() => location.pathname.endsWith('.html') && !location.pathname.endsWith('escapes.html'));
    assert.equal(decodeURIComponent(new URL(run.page.url()).pathname), '/it\'s "top".html');
  });

  for (const [frameset, panes] of [['main2.html', 2], ['main3.html', 3]]) {
    it(`works inside a ${panes}-pane frame set`, async () => {
      await run.open(frameset);
      await run.page.waitForFrameUrl('Right', 'frameright.html');
      if (panes === 3) await run.page.waitForFrameUrl('Frame3', 'frametop.html');
      const menu = await run.page.frame('Frame1');
      const menuItems = () => menu.evaluate(readItems);
      assert.deepEqual(layout(await menuItems()).shown, { 1: 10, 3: 26, 4: 42 });

      // The branch's own link opens in the right frame while it opens.
      await run.page.clickIn(menu, '#t1 a:nth-of-type(2)');
      await run.page.waitForFrameUrl('Right', 'guide.html');
      assert.deepEqual(layout(await menuItems()).shown, { 1: 10, 2: 26, 3: 42, 4: 58 });

      await run.page.clickIn(menu, '#t2 a:nth-of-type(2)');
      await run.page.waitForFrameUrl('Right', 'g1.html');

      // Leaving the frame set loads the link into the whole window.
      await run.page.clickIn(menu, '#t3 a[onclick^="ChangeTop"]');
      await run.page.waitFor(() => location.pathname === '/outside.html');
      assert.equal(run.page.errors.length, 0);
    });
  }
});
