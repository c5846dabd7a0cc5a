(function () {
  var nav = document.getElementById("pomeli"), tree = nav && nav.querySelector("ul");
  if (!tree || !tree.firstElementChild) return;
  var d = nav.dataset, plus = d.plus, speed = Number(d.speed) || 0,
    closeTree = "closeTree" in d, linkToggles = "linkToggles" in d, unite = "unite" in d,
    still = window.matchMedia && matchMedia("(prefers-reduced-motion: reduce)"),
    ja = /^ja(-|$)/i.test(document.documentElement.lang),
    key = "pomeli2:" + nav.getAttribute("aria-label"), version = d.version || "",
    open = {}, cur = null, current = null, clicked = null, watched = {}, byUrl = null, filtering = null,
    typed = "", typedAt = 0;

  function anchor(li) { return li.firstElementChild; }
  function group(a) { var g = a.nextElementSibling; return g && g.tagName == "UL" ? g : null; }
  function parentItem(a) { var ul = a.parentNode.parentNode; return ul == tree ? null : ul.previousElementSibling; }
  function expanded(a) { return a.getAttribute("aria-expanded") == "true"; }
  function extra(a) { var x = a.nextElementSibling; return x && x.tagName == "A" ? x : null; }
  // The filter hides items; the keys pass over them.
  function shown(li, back) {
    while (li && li.hidden) li = back ? li.previousElementSibling : li.nextElementSibling;
    return li;
  }
  function first(ul) { var li = shown(ul.firstElementChild); return li && anchor(li); }

  function prepare(ul) {
    if (ul.pomeli) return;
    ul.pomeli = 1;
    if (ul != tree) ul.setAttribute("role", "group");
    for (var li = ul.firstElementChild; li; li = li.nextElementSibling) {
      var a = anchor(li), x = extra(a);
      li.setAttribute("role", "none");
      a.setAttribute("role", "treeitem");
      a.tabIndex = -1;
      if (group(a) && !a.hasAttribute("aria-expanded")) a.setAttribute("aria-expanded", "false");
      if (x) {
        x.tabIndex = -1;
        x.setAttribute("aria-hidden", "true");
        a.setAttribute("aria-keyshortcuts", "Shift+Enter");
      }
    }
  }

  // The open branches of this menu, on every page that carries it; a
  // storage that refuses (private windows, local files) keeps nothing.
  function store() {
    if (filtering) return;
    try { localStorage.setItem(key, [version].concat(Object.keys(open)).join(" ")); } catch (e) {}
  }
  function stored() {
    var saved = null;
    try { saved = localStorage.getItem(key); } catch (e) {}
    var ids = saved ? saved.split(" ") : [];
    return ids.shift() === version ? ids : null;
  }
  function setTabStop(a) {
    if (cur) cur.tabIndex = -1;
    cur = a;
    a.tabIndex = 0;
  }
  function focusItem(a) { setTabStop(a); a.focus(); }

  function unfold(g) {
    g.pomeliFold = null;
    g.className = "";
    g.style.height = "";
  }
  // Closing a top-level branch: the group shrinks by speed pixels per 10 ms.
  function fold(g, h) {
    var t0 = null, token = {};
    g.pomeliFold = token;
    g.className = "c";
    g.style.height = h + "px";
    requestAnimationFrame(function step(t) {
      if (g.pomeliFold != token) return;
      if (t0 == null) t0 = t;
      var left = h - speed * (t - t0) / 10;
      if (left > 0) {
        g.style.height = left + "px";
        requestAnimationFrame(step);
      } else {
        unfold(g);
      }
    });
  }

  function setOpen(a, show, animate) {
    var g = group(a);
    if (!g || expanded(a) == show) return;
    // A branch marked open inside a closed one gets its role all the same.
    prepare(a.parentNode.parentNode);
    var folding = !show && animate && speed > 0 && !(still && still.matches) && !parentItem(a);
    var height = folding ? g.offsetHeight : 0;
    a.setAttribute("aria-expanded", show ? "true" : "false");
    if (show) {
      prepare(g);
      if (g.pomeliFold) unfold(g);
      open[a.id] = 1;
      return;
    }
    delete open[a.id];
    if (cur && g.contains(cur)) {
      var focused = g.contains(document.activeElement);
      setTabStop(a);
      if (focused) a.focus();
    }
    if (folding) fold(g, height);
  }
  function closeTopLevel(except, animate) {
    for (var id in open) {
      var a = document.getElementById(id);
      if (a && a != except && !parentItem(a)) setOpen(a, false, animate);
    }
  }
  function closeAll() {
    for (var id in open) setOpen(document.getElementById(id), false);
  }
  function toggle(a) {
    if (!group(a)) return;
    var show = !expanded(a);
    if (show && closeTree && !parentItem(a)) closeTopLevel(a, true);
    setOpen(a, show, true);
    store();
  }
  function reveal(a) {
    for (var p = parentItem(a), top = null; p; p = parentItem(p)) {
      setOpen(p, true);
      top = p;
    }
    if (top && closeTree && !filtering) closeTopLevel(top, false);
  }
  // Into view by the least scrolling: of the menu's own scrolling box when
  // it has one within a larger page, else of the window.
  function scrollTo(a) {
    for (var box = nav.parentNode; box && box.nodeType == 1 && box != document.body; box = box.parentNode) {
      var y = getComputedStyle(box).overflowY;
      if ((y == "auto" || y == "scroll") && box.scrollHeight > box.clientHeight) {
        var r = a.getBoundingClientRect(), b = box.getBoundingClientRect();
        if (r.top < b.top) box.scrollTop -= b.top - r.top;
        else if (r.bottom > b.bottom) box.scrollTop += Math.min(r.bottom - b.bottom, r.top - b.top);
        return;
      }
    }
    var rect = a.getBoundingClientRect();
    if (rect.top < 0 || rect.bottom > innerHeight) a.scrollIntoView({ block: "nearest", inline: "nearest" });
  }
  // Exactly one item is the current page.
  function setCurrent(a) {
    if (!a || a == current) return;
    if (current) current.removeAttribute("aria-current");
    current = a;
    a.setAttribute("aria-current", "page");
    reveal(a);
    setTabStop(a);
    scrollTo(a);
  }

  // The items a reader sees, in order.
  function next(a) {
    var down = expanded(a) && first(group(a));
    if (down) return down;
    for (var li = a.parentNode; ; li = li.parentNode.parentNode) {
      var after = shown(li.nextElementSibling);
      if (after) return anchor(after);
      if (li.parentNode == tree) return null;
    }
  }
  function lastShown(li) {
    var a = anchor(li), last;
    while (expanded(a) && (last = shown(group(a).lastElementChild, true))) a = anchor(last);
    return a;
  }
  function prev(a) {
    var li = shown(a.parentNode.previousElementSibling, true);
    return li ? lastShown(li) : parentItem(a);
  }
  function label(a) { return a.textContent.replace(/^\s+/, "").toLowerCase(); }
  // Letters typed within half a second make one prefix; one letter again
  // and again steps through the items it starts.
  function seek(a, text) {
    var repeated = text.split(text.charAt(0)).join("") == "", from = repeated || text.length == 1 ? next(a) : a;
    if (repeated) text = text.charAt(0);
    var top = first(tree);
    for (var b = from || top, n = 0; b && n < 100000; b = next(b) || top, ++n) {
      if (label(b).indexOf(text) == 0) return b;
      if (b == a && n > 0) break;
    }
    return null;
  }

  tree.addEventListener("keydown", function (e) {
    var a = e.target, k = e.key, to = null;
    if (a.getAttribute("role") != "treeitem" || e.altKey || e.ctrlKey || e.metaKey) return;
    var now = Date.now(), typing = now - typedAt < 500, letter = false;
    if (k == "Enter" || (k == " " && !typing)) {
      if (e.shiftKey && extra(a)) extra(a).click();
      else if (!a.hasAttribute("href")) toggle(a);
      else if (k == " ") a.click();
      else return;  // the link's own click follows it
    } else if (k == "ArrowDown") to = next(a);
    else if (k == "ArrowUp") to = prev(a);
    else if (k == "ArrowRight") {
      if (expanded(a)) to = first(group(a));
      else toggle(a);
    } else if (k == "ArrowLeft") {
      if (expanded(a)) toggle(a);
      else to = parentItem(a);
    } else if (k == "Home") to = first(tree);
    else if (k == "End") to = lastShown(shown(tree.lastElementChild, true));
    else if (k == "*") {
      if (!(closeTree && !parentItem(a)))
        for (var li = a.parentNode.parentNode.firstElementChild; li; li = li.nextElementSibling) setOpen(anchor(li), true);
      store();
    } else if (k == "-") {
      for (to = a; parentItem(to); to = parentItem(to));
      closeAll();
      store();
    } else if (k.length == 1) {
      // A space within the letters is one of them.
      typed = typing ? typed + k.toLowerCase() : k.toLowerCase();
      typedAt = now;
      letter = true;
      to = seek(a, typed);
    } else return;
    if (!letter) typedAt = 0;
    e.preventDefault();
    if (to) focusItem(to);
  });

  tree.addEventListener("click", function (e) {
    var a = e.target.closest ? e.target.closest("a") : null;
    if (!a || a.getAttribute("role") != "treeitem") return;
    var link = a.hasAttribute("href"), newPlace = e.ctrlKey || e.shiftKey || e.metaKey;
    focusItem(a);
    if (group(a)) {
      // A branch's first picture is its button, when the page has one.
      if (!link || (!unite && plus && e.target == a.firstElementChild)) {
        e.preventDefault();
        toggle(a);
        return;
      } else if (linkToggles && !newPlace) {
        toggle(a);
      }
    } else if (closeTree && link && !newPlace && !parentItem(a)) {
      closeTopLevel(null, true);
      store();
    }
    if (link && !newPlace && watched[a.getAttribute("target")]) {
      clicked = a;
      setCurrent(a);
    }
  });

  // ---- the filter box, above the tree

  // Text folded as the editor's find bar folds it: letter case, full and
  // half width, the kinds of space and half-width kana do not count.
  var kana = [0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3,
    0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD,
    0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8,
    0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C];
  function semiVoiced(c) { return c >= 0x30CF && c <= 0x30DB && (c - 0x30CF) % 3 == 0; }
  function voiced(c) {
    return (c >= 0x30AB && c <= 0x30C1 && (c - 0x30AB) % 2 == 0) || c == 0x30C4 || c == 0x30C6 || c == 0x30C8 ||
      semiVoiced(c) || c == 0x30A6;
  }
  function foldText(text) {
    var out = [];
    for (var i = 0; i < text.length; ++i) {
      var c = text.charCodeAt(i), n = out.length;
      if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
      else if (c == 0x3000 || c == 0xA0) c = 32;
      else if (c >= 0xFF61 && c <= 0xFF9F) c = kana[c - 0xFF61];
      if (c >= 65 && c <= 90) c += 32;
      if (n && c == 0x309B && voiced(out[n - 1])) out[n - 1] = out[n - 1] == 0x30A6 ? 0x30F4 : out[n - 1] + 1;
      else if (n && c == 0x309C && semiVoiced(out[n - 1])) out[n - 1] += 2;
      else out.push(c);
    }
    var s = "";
    for (i = 0; i < out.length; i += 4096) s += String.fromCharCode.apply(null, out.slice(i, i + 4096));
    return s;
  }

  // The items in document order, each with its anchor, group, parent (an
  // index, -1 at the top), the index past its last descendant and its
  // folded texts; `hid` mirrors the hidden attributes the filter sets, so a
  // keystroke decides from these alone and writes only what changes.
  var items = null, anchors, groups, up, end, texts, hid, shownAt, openAt, stamp = 0,
    lastText = "", matches = null, before = null, input = null, status = null;
  function index() {
    items = [];
    anchors = [];
    groups = [];
    up = [];
    end = [];
    texts = [];
    hid = [];
    shownAt = [];
    openAt = [];
    (function walk(ul, parent) {
      for (var li = ul.firstElementChild; li; li = li.nextElementSibling) {
        var i = items.length, a = anchor(li), g = group(a), href = a.getAttribute("href") || "";
        try { href = decodeURI(href); } catch (e) {}
        items.push(li);
        anchors.push(a);
        groups.push(g);
        up.push(parent);
        // The line break keeps a match from running from the title into the link.
        texts.push(foldText(a.textContent) + "\n" + foldText(href));
        hid.push(li.hidden);
        shownAt.push(0);
        openAt.push(0);
        end.push(0);
        if (g) {
          // Its roles too, not at the first letter that opens it.
          prepare(g);
          walk(g, i);
        }
        end[i] = items.length;
      }
    })(tree, -1);
  }
  // Whether an item is shown, from the tree alone: asking the layout would
  // lay out thousands of rows in the middle of a keystroke.
  function seen(a) {
    if (a.parentNode.hidden) return false;
    for (var p = parentItem(a); p; p = parentItem(p))
      if (!expanded(p) || p.parentNode.hidden) return false;
    return true;
  }
  function count(n) { return ja ? n + "\u4ef6" : n + (n == 1 ? " item" : " items"); }
  function unfilter() {
    if (!filtering) return;
    filtering = null;
    lastText = "";
    matches = null;
    for (var i = 0; i < items.length; ++i) {
      if (hid[i]) items[i].hidden = hid[i] = false;
    }
    // Back to the branches open before: only those that differ change.
    var keep = {}, id, a;
    for (i = 0; i < before.length; ++i) keep[before[i]] = 1;
    for (id in open) {
      if (!keep[id]) setOpen(document.getElementById(id), false);
    }
    for (i = 0; i < before.length; ++i) {
      a = document.getElementById(before[i]);
      if (a) setOpen(a, true);
    }
    status.textContent = "";
    if (current) setTabStop(current);
    else if (!seen(cur)) setTabStop(first(tree));
  }
  function filter() {
    var needle = foldText(input.value);
    if (!needle) return unfilter();
    if (!items) index();
    if (!filtering) before = Object.keys(open);
    // A longer text matches only among the matches of the shorter one.
    var from = filtering && needle.indexOf(lastText) >= 0 ? matches : null, n = from ? from.length : items.length,
      now = [], s = ++stamp, i, j, p;
    filtering = true;
    for (j = 0; j < n; ++j) {
      i = from ? from[j] : j;
      if (texts[i].indexOf(needle) < 0) continue;
      now.push(i);
      shownAt[i] = s;
      // Its ancestors are shown and open; one already marked has its own marked.
      for (p = up[i]; p >= 0 && openAt[p] != s; p = up[p]) openAt[p] = shownAt[p] = s;
    }
    lastText = needle;
    matches = now;
    // The items under a hidden one are left as they are: nothing of them
    // shows, and they are set right when it shows again.
    for (i = 0; i < items.length; ) {
      var show = shownAt[i] == s;
      if (hid[i] == show) items[i].hidden = hid[i] = !show;
      if (!show) {
        i = end[i];
        continue;
      }
      if (groups[i]) setOpen(anchors[i], openAt[i] == s);
      ++i;
    }
    status.textContent = count(now.length);
    var to = first(tree);
    if (to && !seen(cur)) setTabStop(to);
  }
  function addFilter() {
    var box = document.createElement("div");
    box.className = "q";
    box.innerHTML = "<label for=\"pomeli-q\"></label><input id=\"pomeli-q\" type=\"search\" autocomplete=\"off\">" +
      "<span role=\"status\"></span>";
    box.firstChild.textContent = ja ? "\u7d5e\u308a\u8fbc\u307f" : "Filter";
    input = box.childNodes[1];
    status = box.lastChild;
    nav.insertBefore(box, tree);
    input.addEventListener("input", filter);
    // The texts are folded while the reader comes to the box, not at the
    // first letter.
    input.addEventListener("focus", function () { if (!items) index(); });
    input.addEventListener("keydown", function (e) {
      if (e.key == "Escape" && input.value) {
        input.value = "";
        unfilter();
        e.preventDefault();
      } else if (e.key == "ArrowDown" && first(tree)) {
        focusItem(filtering ? cur : first(tree));
        e.preventDefault();
      }
    });
  }

  // ---- at load

  tree.setAttribute("role", "tree");
  tree.setAttribute("aria-label", nav.getAttribute("aria-label"));
  // Where the keys beyond the usual ones are told.
  var keys = document.createElement("span");
  keys.id = "pomeli-keys";
  keys.className = "n";
  keys.textContent = ja ? "* \u3067\u540c\u3058\u968e\u5c64\u3092\u3059\u3079\u3066\u958b\u304f\u3001- \u3067\u3059\u3079\u3066\u9589\u3058\u308b" :
    "* opens all siblings, - closes all";
  nav.appendChild(keys);
  tree.setAttribute("aria-describedby", keys.id);
  prepare(tree);
  if ("filter" in d) addFilter();
  var saved = stored(), i, a;
  if (saved) {
    for (i = 0; i < saved.length; ++i) {
      a = document.getElementById(saved[i]);
      if (a && tree.contains(a)) setOpen(a, true);
    }
  } else {
    var marked = [].slice.call(tree.getElementsByClassName("o")), topOpened = false;
    for (i = 0; i < marked.length; ++i) {
      a = marked[i];
      if (closeTree && !parentItem(a)) {
        if (topOpened) continue;
        topOpened = true;
      }
      setOpen(a, true);
    }
  }

  // The frames the links open in, when the menu stands in a frame set: the
  // menu follows the page each of them shows.
  if (window.parent != window) {
    var targets = tree.querySelectorAll("a[target]"), frame;
    for (i = 0; i < targets.length; ++i) {
      var name = targets[i].getAttribute("target");
      if (name in watched) continue;
      frame = null;
      try { frame = parent.document.getElementsByName(name)[0]; } catch (e) {}
      watched[name] = frame && frame.contentWindow != window ? frame : null;
      if (watched[name]) follow(watched[name]);
    }
  }
  // An address without its query and fragment, a folder's index.html as the folder.
  function plain(url) { return url.split("#")[0].split("?")[0].replace(/\/index\.html$/i, "/"); }
  function follow(frame) {
    frame.addEventListener("load", function () { shows(frame); });
    shows(frame);
  }
  function shows(frame) {
    var url = null;
    try { url = frame.contentWindow.location.href; } catch (e) {}
    if (url == null || url == "about:blank") return setCurrent(clicked);
    if (!byUrl) {
      byUrl = {};
      var links = tree.querySelectorAll("li>a:first-child[href]");
      for (var j = 0; j < links.length; ++j) {
        var u = plain(links[j].href);
        if (!(u in byUrl)) byUrl[u] = links[j];
      }
    }
    var here = plain(url);
    setCurrent(clicked && plain(clicked.href) == here ? clicked : byUrl[here] || clicked);
  }

  // The item of this very page, when its link opens in this window. Only a
  // link whose address holds this page's file name, or ends its path in
  // none, can lead here: the style engine finds those, and only they are
  // resolved, which a large menu would feel.
  if (!current) {
    var here = plain(location.href), file = location.pathname.replace(/.*\//, "").toLowerCase(),
      candidates = 'a[href=""],a[href^="?"],a[href$="/"],a[href*="/?"],a[href*="/#"]';
    if (file) candidates += ",a[href*=\"" + file.replace(/["\\]/g, "\\$&") + "\" i]";
    else candidates += ",a[href*=\"index.html\" i]";
    var links = tree.querySelectorAll(candidates);
    for (i = 0; i < links.length && !current; ++i) {
      a = links[i];
      var href = a.getAttribute("href"), target = a.getAttribute("target");
      if (href.charAt(0) == "#" || a != a.parentNode.firstElementChild) continue;
      var last = href.split(/[?#]/)[0].replace(/.*\//, "").toLowerCase();
      if (last && last != file && !(last == "index.html" && !file)) continue;
      if (target && target != "_self" && target != window.name) continue;
      if (plain(a.href) != here) continue;
      setCurrent(a);
    }
  }
  if (!cur) setTabStop(first(tree));

  // A fragment naming an item (its id, "t" and its number) opens to it.
  function fragment() {
    var id = location.hash.slice(1), to = id && document.getElementById(id);
    if (!to && /^t[1-9][0-9]*$/.test(id)) {
      var li = tree.getElementsByTagName("li")[Number(id.slice(1)) - 1];
      to = li && anchor(li);
    }
    if (!to || !tree.contains(to) || to != anchor(to.parentNode)) return;
    reveal(to);
    focusItem(to);
    scrollTo(to);
  }
  fragment();
  addEventListener("hashchange", fragment);
})();
