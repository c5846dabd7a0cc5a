[Title]	サイトの案内
[BgColor]	#FFFFFF
[BackPicture]	scroll.gif
[Start]	20
[Left]	12
[Row]	28
[Indent]	24
[BodyText]	#000000
[BodyLink]	#0000CC
[BodyVlink]	#551A8B
[BodyAlink]	#CC0000
[BodyHover]	#990000
[BodyHoverBack]	#FFFFCC
[TextBackOn]	1
[ParentLink]	1
[TreeBgColor]	16777215
[TreeItemColor]	0
[Plus]	plus.gif
[Minus]	minus.gif
[Linkto]	
[Otherw]	otherw.gif
[RightFrame]	なし
[OtherwFrame]	OtherW
[FirstPage]	
[FirstTopPage]	
[Browser]	HTML5
[ParentLinkOn]	1
[Unite]	0
[Path]	pomeli2.html
[CloseTree]	1
[CloseItems]	1
[Speed]	4
[BodyHeader]	html5-header.txt
[BodyFooter]	html5-footer.txt
0	サイトの案内	#8080FF	None	1	10pt		0	Frame2		0
1	はじめに	#FFFFFF	Bold	1	12pt	intro.html	0	Frame2	linkto.gif	0
1	製品	#FFFFCC	None	1	10pt	products.html	0	Frame2	linkto.gif	1
2	file:pic.gif:写真	#FFFFFF	None	1	10pt	photo.html	0		mine.gif	0
2	道具	#FFFFFF	Bold&Italic	1	10pt		0	Frame2	linkto.gif	0
3	深い	#FFFFFF	None	1	10pt	deep.html	2	Frame2	linkto.gif	0
3	別窓	#FFFFFF	None	1	10pt	win.html	1	Frame2	linkto.gif	0
2	file:logo.gif	#FFFFFF	None	1	10pt	logo.html	0	Frame2		0
1	サポート	#CCFFFF	None	1	10pt		0	Frame2	linkto.gif	1
2	質問	#CCFFFF	Italic	1	10pt	faq.html	0	Right	linkto.gif	0
1	連絡	#FFFFFF	None	1	10pt		0	Frame2	linkto.gif	0
1	English	#FFFFFF	None	1	9pt	en.html	0	Frame2	linkto.gif	0
