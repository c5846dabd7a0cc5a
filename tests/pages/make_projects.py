#!/usr/bin/env python3
"""Writes the project files that the browser tests and golden tests build
pages from. Run it after changing a menu here; the .pml files are kept."""
import os

KEYS = ["Title", "BgColor", "BackPicture", "Start", "Left", "Row", "Indent", "BodyText", "BodyLink", "BodyVlink",
        "BodyAlink", "BodyHover", "BodyHoverBack", "TextBackOn", "ParentLink", "TreeBgColor", "TreeItemColor", "Plus",
        "Minus", "Linkto", "Otherw", "RightFrame", "OtherwFrame", "FirstPage", "FirstTopPage", "Browser",
        "ParentLinkOn", "Unite", "Path", "CloseTree", "CloseItems", "Speed"]
DEFAULTS = {"Title": "ホームページ", "BgColor": "#4099FF", "BackPicture": "", "Start": "10", "Left": "10", "Row": "16",
            "Indent": "20", "BodyText": "#000000", "BodyLink": "#0000FF", "BodyVlink": "#8000FF",
            "BodyAlink": "#0000A0", "BodyHover": "", "BodyHoverBack": "", "TextBackOn": "0", "ParentLink": "0",
            "TreeBgColor": "16777215", "TreeItemColor": "0", "Plus": "plus.gif", "Minus": "minus.gif",
            "Linkto": "linkto.gif", "Otherw": "otherw.gif", "RightFrame": "なし", "OtherwFrame": "OtherW",
            "FirstPage": "", "FirstTopPage": "", "Browser": "IE4-5, NN4, NN6", "ParentLinkOn": "0", "Unite": "0",
            "Path": "pomeli2.html", "CloseTree": "0", "CloseItems": "0", "Speed": "5"}


def item(depth, title, **f):
    d = dict(bg="#8080FF", style="None", size="10pt", link="", other="0", target="Frame2", icon="linkto.gif", open="0")
    d.update(f)
    return [str(depth), title, d["bg"], d["style"], "1", d["size"], d["link"], d["other"], d["target"], d["icon"],
            d["open"]]


def project(settings, items):
    s = dict(DEFAULTS)
    s.update(settings)
    out = "".join(f"[{k}]\t{s[k]}\r\n" for k in KEYS)
    for k in ("BodyHeader", "BodyFooter"):
        if s.get(k):
            out += f"[{k}]\t{s[k]}\r\n"
    out += "\t".join(item(0, s["Title"], icon="", bg="#8080FF")) + "\r\n"
    out += "".join("\t".join(i) + "\r\n" for i in items)
    return out.encode("cp932")


# A menu with nested branches between leaves.
NESTED = [
    item(1, "Alpha"),
    item(2, "Alpha one"),
    item(3, "Alpha one a", link="a1a.html"),
    item(3, "Alpha one b", link="a1b.html"),
    item(2, "Alpha two", link="a2.html"),
    item(1, "Bravo", link="b.html"),
    item(1, "Charlie"),
    item(2, "Charlie one", link="c1.html"),
    item(2, "Charlie two", link="c2.html"),
    item(1, "Delta", link="d.html"),
]

# A top-level branch with a single child after the nested menu: its close
# animation ends in the first step.
WITH_ECHO = NESTED + [item(1, "Echo"), item(2, "Echo one", link="e1.html")]

PROJECTS = {
    "example": ({}, [item(1, "Products"), item(2, "Tools", link="tools.html"),
                     item(1, "Contact", link="contact.html")]),
    "nested-all": ({}, NESTED),
    "nested-nn6": ({"Browser": "NN6 Only"}, NESTED),
    "nested-ie": ({"Browser": "IE4-5 Only"}, NESTED),
    "nested-nn4": ({"Browser": "NN4 Only"}, NESTED),
    "nested-unknown": ({"Browser": "Mosaic"}, NESTED),
    "closetree-all": ({"CloseTree": "1"}, NESTED),
    "closetree-nn6": ({"CloseTree": "1", "Browser": "NN6 Only"}, NESTED),
    "closeitems-all": ({"CloseTree": "1", "CloseItems": "1", "Row": "10", "Speed": "12"}, WITH_ECHO),
    "closeitems-nn6": ({"CloseTree": "1", "CloseItems": "1", "Row": "10", "Speed": "12", "Browser": "NN6 Only"},
                       WITH_ECHO),
    # Charlie opens on load; the last item is a top-level leaf marked open.
    "opentree": ({}, NESTED[:6] + [item(1, "Charlie", open="1")] + NESTED[7:9] +
                 [item(1, "Delta", link="d.html", open="1")]),
    "opentree-closetree": ({"CloseTree": "1"}, [item(1, "Alpha", open="1")] + NESTED[1:6] +
                           [item(1, "Charlie", open="1")] + NESTED[7:]),
    # Frame set behaviour: a branch with its own link, other-window and
    # leave-frames buttons, a named right frame.
    "frames": ({"ParentLink": "1", "ParentLinkOn": "1", "RightFrame": "Right", "Title": "Frames test"}, [
        item(1, "Guide", link="guide.html"),
        item(2, "Guide one", link="g1.html"),
        item(1, "Outside", link="outside.html", other="2"),
        item(1, "Window", link="w.html", other="1"),
    ]),
    # Values that need escaping inside script strings, and numbers with a
    # leading zero.
    "escapes": ({"Row": "010", "Indent": "020", "Minus": "img\\minus.gif", "CloseTree": "1", "ParentLink": "1",
                 "ParentLinkOn": "1", "RightFrame": "Frame2"}, [
        item(1, "Quotes", link="it's.html"),
        item(1, "Parent", link="dir\\file.htm"),
        item(2, "Child", link="c.html"),
        item(2, "Leave", link="it's \"top\".html", other="2"),
        item(1, "表示ソフト", link="表\\ソ.html"),
    ]),
    # Every option that changes the script, in each browser mode.
    **{f"options-{name}": ({"Browser": mode, "CloseTree": "1", "CloseItems": "1", "ParentLink": "1",
                            "ParentLinkOn": "1", "Unite": "1", "TextBackOn": "1", "BodyHover": "#FF0000",
                            "BodyHoverBack": "#FFFF00", "RightFrame": "Right", "Linkto": ""},
                           [item(1, "One", open="1", link="one.html"), item(2, "file:pic.gif:Picture", link="p.html",
                                                                           icon="mine.gif"),
                            item(2, "Sub", style="Bold&Italic"), item(3, "Deep", link="deep.html", other="2"),
                            item(1, "Two", link="two.html", other="1", style="Italic", bg="#FFCC00"),
                            item(1, "file:logo.gif", link="logo.html", icon="")])
       for name, mode in [("all", "IE4-5, NN4, NN6"), ("ie", "IE4-5 Only"), ("nn4", "NN4 Only"),
                          ("nn6", "NN6 Only")]},
}


# The "HTML5" mode: every page setting in html5-all and html5-unite, the
# nested menu for the keyboard, and the frame set menu.
HTML5_COLOURS = {"Browser": "HTML5", "BgColor": "#FFFFFF"}
PROJECTS.update({
    "html5-all": ({**HTML5_COLOURS, "Title": "サイトの案内", "BackPicture": "scroll.gif", "Start": "20", "Left": "12",
                   "Row": "28", "Indent": "24", "BodyLink": "#0000CC", "BodyVlink": "#551A8B", "BodyAlink": "#CC0000",
                   "BodyHover": "#990000", "BodyHoverBack": "#FFFFCC", "TextBackOn": "1", "ParentLink": "1",
                   "ParentLinkOn": "1", "Linkto": "", "CloseTree": "1", "CloseItems": "1", "Speed": "4",
                   "BodyHeader": "html5-header.txt", "BodyFooter": "html5-footer.txt"}, [
        item(1, "はじめに", link="intro.html", bg="#FFFFFF", style="Bold", size="12pt"),
        item(1, "製品", link="products.html", bg="#FFFFCC", open="1"),
        item(2, "file:pic.gif:写真", link="photo.html", icon="mine.gif", target="", bg="#FFFFFF"),
        item(2, "道具", style="Bold&Italic", bg="#FFFFFF"),
        item(3, "深い", link="deep.html", other="2", bg="#FFFFFF"),
        item(3, "別窓", link="win.html", other="1", bg="#FFFFFF"),
        item(2, "file:logo.gif", link="logo.html", icon="", bg="#FFFFFF"),
        item(1, "サポート", bg="#CCFFFF", open="1"),
        item(2, "質問", link="faq.html", style="Italic", target="Right", bg="#CCFFFF"),
        item(1, "連絡", bg="#FFFFFF"),
        item(1, "English", link="en.html", size="9pt", bg="#FFFFFF"),
    ]),
    "html5-unite": ({**HTML5_COLOURS, "Unite": "1", "ParentLink": "1", "RightFrame": "Right",
                     "BodyHoverBack": "#FFFF00", "Title": "Unite"}, [
        item(1, "Guide", link="guide.html"),
        item(2, "Guide one", link="g1.html", other="1"),
        item(2, "Guide two", open="1"),
        item(3, "Guide two a", link="g2a.html"),
        item(1, "Plain", link="plain.html", other="2"),
    ]),
    "html5-nested": ({**HTML5_COLOURS, "Title": "Nested"}, NESTED),
    "html5-frames": ({**PROJECTS["frames"][0], **HTML5_COLOURS}, PROJECTS["frames"][1]),
})


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, (settings, items) in PROJECTS.items():
        with open(os.path.join(here, name + ".pml"), "wb") as f:
            f.write(project(settings, items))
    # The BODY insertions of html5-all, found beside the projects.
    for name, text in [("html5-header.txt", "<header><p>サイトの案内へようこそ</p></header>\r\n"),
                       ("html5-footer.txt", "<footer><p>(c) 2026 Pomeli</p></footer>\r\n")]:
        with open(os.path.join(here, name), "wb") as f:
            f.write(text.encode("cp932"))


if __name__ == "__main__":
    main()
