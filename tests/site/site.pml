[Title]	サイトの案内
[BgColor]	#FFFFFF
[BackPicture]	
[Start]	10
[Left]	10
[Row]	16
[Indent]	20
[BodyText]	#000000
[BodyLink]	#0000FF
[BodyVlink]	#8000FF
[BodyAlink]	#0000A0
[BodyHover]	#990000
[BodyHoverBack]	#FFFFCC
[TextBackOn]	1
[ParentLink]	1
[TreeBgColor]	16777215
[TreeItemColor]	0
[Plus]	plus.gif
[Minus]	minus.gif
[Linkto]	linkto.gif
[Otherw]	otherw.gif
[RightFrame]	なし
[OtherwFrame]	OtherW
[FirstPage]	
[FirstTopPage]	
[Browser]	HTML5
[ParentLinkOn]	0
[Unite]	0
[Path]	pages/menu.html
[CloseTree]	0
[CloseItems]	0
[Speed]	5
[Filter]	1
[Lang]	ja
[Dir]	ltr
[Dark]	0
0	サイトの案内	#FFFFCC	None	1	10pt		0			0
1	トップ	#FFFFCC	None	1	10pt	index.html	0	Frame2	linkto.gif	0
1	ガイド	#FFFFCC	None	1	10pt	guide/intro.html	0	Frame2	linkto.gif	0
2	第一部	#FFFFCC	None	1	10pt	guide/deep/part/page.html	0	Frame2	linkto.gif	0
2	絵文字 &#x1F600; の章	#FFFFCC	None	1	10pt	guide/deep/emoji.html	0	Frame2	linkto.gif	0
2	目次	#FFFFCC	None	1	10pt	guide/deep/	0	Frame2	linkto.gif	0
1	お知らせ	#FFFFCC	None	1	10pt	news/	0	Right	linkto.gif	0
1	旧ページ	#FFFFCC	None	1	10pt	legacy/old.html	0	Frame2	linkto.gif	0
1	見る	#FFFFCC	None	1	10pt	about.htm	0	viewer	linkto.gif	0
1	外部	#FFFFCC	None	1	10pt	https://example.com/a?b=1&amp;c=2	0	_blank	linkto.gif	0
1	印刷用	#FFFFCC	None	1	10pt	about.htm	0	help	linkto.gif	0
