// Project files made of random values, for the checks of the "HTML5" page:
// empty and blank titles, backslashes, quotes, bad colours and sizes,
// negative numbers, long texts, targets no browser context may have. The
// same seed always makes the same project. Files are Shift-JIS, as the
// editor writes them.

// Shift-JIS bytes of a text, from the reverse of the runtime's own decoder
// (code page 932: the decoder browsers use). Texts here hold only
// characters that it has.
const encoder = (() => {
  const decoder = new TextDecoder('shift_jis');
  const codes = new Map();
  const single = (b) => (b < 0x80 || (b >= 0xa1 && b <= 0xdf)) && codes.set(decoder.decode(Uint8Array.of(b)), [b]);
  for (let b = 0; b < 0x100; ++b) single(b);
  const lead = (b) => (b >= 0x81 && b <= 0x9f) || (b >= 0xe0 && b <= 0xfc);
  for (let b1 = 0x81; b1 <= 0xfc; ++b1) {
    if (!lead(b1)) continue;
    for (let b2 = 0x40; b2 <= 0xfc; ++b2) {
      const ch = decoder.decode(Uint8Array.of(b1, b2));
      if (ch.length === 1 && ch !== '\ufffd' && !codes.has(ch)) codes.set(ch, [b1, b2]);
    }
  }
  return codes;
})();

export function shiftJis(text) {
  const bytes = [];
  for (const ch of text) {
    const code = encoder.get(ch);
    if (!code) throw new Error(`no Shift-JIS code for ${ch}`);
    bytes.push(...code);
  }
  return Buffer.from(bytes);
}

// A small fast generator (mulberry32): the same seed, the same values.
function generator(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  return {
    below: (n) => Math.floor(next() * n),
    pick(list) { return list[this.below(list.length)]; },
    chance: (p) => next() < p,
  };
}

const words = ['製品', 'サポート', '表示', 'ソフト', '予定表', 'ﾊﾝｶｸ', 'About', 'Q&A', 'Tom\'s page', '"引用"', '①②', '～'];
const longText = (r) => Array.from({ length: 20 + r.below(30) }, () => r.pick(words)).join(' ').slice(0, 120);

const titles = (r) => r.pick([
  () => r.pick(words), () => r.pick(words), () => r.pick(words) + ' ' + r.pick(words), () => '', () => '   ',
  () => '　　', () => '　 ', () => '<b></b>', () => `<b>${r.pick(words)}</b>`, () => '&nbsp;', () => longText(r),
  () => 'file:pic.gif', () => `file:pic.gif:${r.pick(words)}`, () => 'file::文字', () => 'file:dir\\img.gif: ',
  () => 'file:画像\\表.gif', () => 'file:a b".gif', () => '<img src="logo.gif" alt="">', () => 'a\\b',
])();

const links = (r) => r.pick([
  '', '', 'page.html', 'dir\\file.htm', '\\\\server\\share\\n.htm', 'C:\\web\\x.htm', 'q".html', 'a b.html',
  '検索.cgi?q=日本&x=1', 'http://example.com/a b/?q="x"', '#top', 'mailto:a@example.jp?subject=質問',
  'javascript:void(0)', '100%.html', 'x.html#a#b', '   ', '<x>.html', 'ソフト\\表.htm', 'a.cgi?x=1|2^3{4}`',
  'http://[::1]/', 'https://example.jp/', 'dir/', ' page.html ', '資料/一覧.html?種類=本#上',
  'a.cgi?x=1&y;z', 'a.cgi?a=1&amp;b=2', 'x.cgi?q=1&copy', 'x.cgi?q=&#38;&#x26;',
]);
const targets = ['', 'Frame2', '_blank', '_Top', '_frame', 't"q', '右', 'a b', 'OtherW', 'a&b;'];
const colours = ['', '#FFFFCC', '#CCFFFF', '#12345', '#abc', 'red', '#GGGGGG', '#1234567', 'red}body{display:none'];
const goodColours = ['', '#FFFFFF', '#FFFFCC', '#000000', '#fff'];
const sizes = ['10pt', '10pt', '', '-4pt', '12', '1.5em', 'large', 'abc', '10pt;color:red', '0'];
const styles = ['None', 'Bold', 'Italic', 'Bold&Italic', 'bogus'];
const numbers = ['10', '24', '-4', '0', 'abc', '', '99999999999', '+5', ' 7', '-2147483648'];
const images = ['plus.gif', 'minus.gif', 'linkto.gif', '', ' ', 'img\\p.gif', 'p".gif', '画像/プラス.gif'];

// One project: settings, then a tree of up to 24 items whose depths step
// down at most one level at a time.
export function randomProject(seed) {
  const r = generator(seed);
  const flag = () => (r.chance(0.5) ? '1' : '0');
  // Page colours the writer shows only when they are readable on the
  // background axe checks them against; bad ones it leaves out.
  const settings = {
    Title: r.pick(['', '　', 'サイトの案内', '<b>x</b>', 'Tom\'s "menu"', longText(r)]),
    BgColor: r.pick(['', '#FFFFFF', '#12345', 'red']),
    BackPicture: r.pick(['', 'scroll.gif', 'bg\\a.gif', 'b".gif', '背景 1.gif']),
    Start: r.pick(numbers), Left: r.pick(numbers), Row: r.pick(numbers), Indent: r.pick(numbers),
    BodyText: r.pick(['', '#000000', '#12345']), BodyLink: r.pick(['', '#0000CC', '#00c', '#12']),
    BodyVlink: r.pick(['', '#551A8B', 'purple']), BodyAlink: r.pick(['', '#CC0000', '#0000A']),
    BodyHover: r.pick(['', '#990000', '#99']), BodyHoverBack: r.pick(goodColours),
    TextBackOn: flag(), ParentLink: flag(), TreeBgColor: '16777215', TreeItemColor: '0',
    Plus: r.pick(images), Minus: r.pick(images), Linkto: r.pick(images), Otherw: r.pick(images),
    RightFrame: r.pick(['なし', 'なし', 'Frame2', '_x', 'Right']), OtherwFrame: r.pick(['OtherW', '', '_foo', '_blank']),
    FirstPage: '', FirstTopPage: '', Browser: 'HTML5', ParentLinkOn: flag(), Unite: flag(), Path: 'pomeli2.html',
    CloseTree: flag(), CloseItems: flag(), Speed: r.pick(['5', '-1', '0', '12', 'x']),
    Filter: flag(), Dark: flag(), Dir: r.pick(['ltr', 'rtl', 'RTL', '', 'x']),
    Lang: r.pick(['ja', 'en', 'ar', 'zh-Hant-TW', '', 'ja_JP', 'x"y']),
  };
  let text = Object.entries(settings).map(([k, v]) => `[${k}]\t${v}\r\n`).join('');
  const item = (depth, title) => [depth, title, r.pick(colours), r.pick(styles), '1', r.pick(sizes), links(r),
    r.pick(['0', '1', '2']), r.pick(targets), r.pick(images), flag()].join('\t') + '\r\n';
  text += item(0, 'root');
  let depth = 0;
  for (let n = 1 + r.below(24); n > 0; --n) {
    depth = 1 + r.below(depth + 1);
    text += item(depth, titles(r));
  }
  return shiftJis(text);
}

// A project of the given settings (over plain ones: HTML5, parent links on)
// and items [depth, title, link, open], below a root.
export function projectFile(settings, items) {
  const base = {
    Title: 'Site', BgColor: '#FFFFFF', BackPicture: '', Start: '10', Left: '10', Row: '16', Indent: '20',
    BodyText: '#000000', BodyLink: '#0000FF', BodyVlink: '#8000FF', BodyAlink: '#0000A0', BodyHover: '',
    BodyHoverBack: '', TextBackOn: '0', ParentLink: '1', TreeBgColor: '16777215', TreeItemColor: '0',
    Plus: 'plus.gif', Minus: 'minus.gif', Linkto: 'linkto.gif', Otherw: 'otherw.gif', RightFrame: 'なし',
    OtherwFrame: 'OtherW', FirstPage: '', FirstTopPage: '', Browser: 'HTML5', ParentLinkOn: '0', Unite: '0',
    Path: 'pomeli2.html', CloseTree: '0', CloseItems: '0', Speed: '5',
  };
  let text = Object.entries({ ...base, ...settings }).map(([k, v]) => `[${k}]\t${v}\r\n`).join('');
  for (const [depth, title, link, open] of [[0, 'Site', ''], ...items])
    text += [depth, title, '#FFFFCC', 'None', '1', '10pt', link, '0', '', 'linkto.gif', open || '0'].join('\t') + '\r\n';
  return shiftJis(text);
}
