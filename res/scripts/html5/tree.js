(function () {
  var nav = document.getElementById("pomeli"), tree = nav && nav.querySelector("ul");
  if (!tree || !tree.firstElementChild) return;
  var d = nav.dataset, plus = d.plus, minus = d.minus, speed = Number(d.speed) || 0,
    closeTree = "closeTree" in d, linkToggles = "linkToggles" in d, unite = "unite" in d,
    still = window.matchMedia && matchMedia("(prefers-reduced-motion: reduce)"),
    key = "pomeli2:" + location.pathname, open = {}, cur = null;

  function anchor(li) { return li.firstElementChild; }
  function group(a) { var g = a.nextElementSibling; return g && g.tagName == "UL" ? g : null; }
  function parentItem(a) { var ul = a.parentNode.parentNode; return ul == tree ? null : ul.previousElementSibling; }
  function expanded(a) { return a.getAttribute("aria-expanded") == "true"; }
  function extra(a) { var x = a.nextElementSibling; return x && x.tagName == "A" ? x : null; }

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

  function store() {
    try { sessionStorage.setItem(key, Object.keys(open).join(" ")); } catch (e) {}
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
    var folding = !show && animate && speed > 0 && !(still && still.matches) && !parentItem(a);
    var height = folding ? g.offsetHeight : 0;
    a.setAttribute("aria-expanded", show ? "true" : "false");
    if (plus) a.firstElementChild.setAttribute("src", show ? minus : plus);
    if (show) {
      prepare(g);
      unfold(g);
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
    if (top && closeTree) closeTopLevel(top, false);
  }

  // The items a reader sees, in order.
  function next(a) {
    if (expanded(a)) return anchor(group(a).firstElementChild);
    for (var li = a.parentNode; ; li = li.parentNode.parentNode) {
      if (li.nextElementSibling) return anchor(li.nextElementSibling);
      if (li.parentNode == tree) return null;
    }
  }
  function lastShown(li) {
    var a = anchor(li);
    while (expanded(a)) a = anchor(group(a).lastElementChild);
    return a;
  }
  function prev(a) {
    var li = a.parentNode.previousElementSibling;
    return li ? lastShown(li) : parentItem(a);
  }
  function initial(a) { return a.textContent.replace(/^\s+/, "").charAt(0).toLowerCase(); }
  function seek(a, ch) {
    for (var b = next(a) || anchor(tree.firstElementChild); b != a; b = next(b) || anchor(tree.firstElementChild))
      if (initial(b) == ch) return b;
    return null;
  }

  tree.addEventListener("keydown", function (e) {
    var a = e.target, k = e.key, to = null;
    if (a.getAttribute("role") != "treeitem" || e.altKey || e.ctrlKey || e.metaKey) return;
    if (k == "Enter") {
      if (e.shiftKey && extra(a)) extra(a).click();
      else if (!a.hasAttribute("href")) toggle(a);
      else return;  // the link's own click follows it
    } else if (k == "ArrowDown") to = next(a);
    else if (k == "ArrowUp") to = prev(a);
    else if (k == "ArrowRight") {
      if (expanded(a)) to = anchor(group(a).firstElementChild);
      else toggle(a);
    } else if (k == "ArrowLeft") {
      if (expanded(a)) toggle(a);
      else to = parentItem(a);
    } else if (k == "Home") to = anchor(tree.firstElementChild);
    else if (k == "End") to = lastShown(tree.lastElementChild);
    else if (k == "*") {
      if (!(closeTree && !parentItem(a)))
        for (var li = a.parentNode.parentNode.firstElementChild; li; li = li.nextElementSibling) setOpen(anchor(li), true);
      store();
    } else if (k.length == 1 && k != " ") to = seek(a, k.toLowerCase());
    else return;
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
      } else if (linkToggles && !newPlace) {
        toggle(a);
      }
    } else if (closeTree && link && !newPlace && !parentItem(a)) {
      closeTopLevel(null, true);
      store();
    }
  });

  tree.setAttribute("role", "tree");
  tree.setAttribute("aria-label", nav.getAttribute("aria-label"));
  prepare(tree);
  var saved = null, i, a;
  try { saved = sessionStorage.getItem(key); } catch (e) {}
  if (saved != null) {
    var ids = saved ? saved.split(" ") : [];
    for (i = 0; i < ids.length; ++i) {
      a = document.getElementById(ids[i]);
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
  // The item of this very page, when its link opens in this window. Only a
  // link whose address holds this page's file name, or ends its path in
  // none, can lead here: the style engine finds those, and only they are
  // resolved, which a large menu would feel.
  var here = location.href.split("#")[0], file = location.pathname.replace(/.*\//, "").toLowerCase(),
    candidates = 'a[href=""],a[href^="?"],a[href$="/"],a[href*="/?"],a[href*="/#"]', current = null;
  if (file) candidates += ",a[href*=\"" + file.replace(/["\\]/g, "\\$&") + "\" i]";
  var links = tree.querySelectorAll(candidates);
  for (i = 0; i < links.length; ++i) {
    a = links[i];
    var href = a.getAttribute("href"), target = a.getAttribute("target");
    if (href.charAt(0) == "#" || a != a.parentNode.firstElementChild) continue;
    var last = href.split(/[?#]/)[0].replace(/.*\//, "").toLowerCase();
    if (last && last != file) continue;
    if (target && target != "_self" && target != window.name) continue;
    if (a.href.split("#")[0] != here) continue;
    a.setAttribute("aria-current", "page");
    if (!current) current = a;
  }
  if (current) reveal(current);
  setTabStop(current || anchor(tree.firstElementChild));
})();
