[Title]	Site
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
[ParentLink]	0
[TreeBgColor]	16777215
[TreeItemColor]	0
[Plus]	plus.gif
[Minus]	minus.gif
[Linkto]	linkto.gif
[Otherw]	otherw.gif
[RightFrame]	‚È‚µ
[OtherwFrame]	OtherW
[FirstPage]	
[FirstTopPage]	
[Browser]	HTML5
[ParentLinkOn]	0
[Unite]	0
[Path]	pomeli2.html
[CloseTree]	0
[CloseItems]	0
[Speed]	5
[Filter]	1
[Lang]	he
[Dir]	rtl
[Dark]	1
0	Nested	#FFFFCC	None	1	10pt		0	Frame2		0
1	Alpha	#FFFFCC	None	1	10pt		0	Frame2	linkto.gif	0
2	Alpha one	#FFFFCC	None	1	10pt		0	Frame2	linkto.gif	0
3	Alpha one a	#FFFFCC	None	1	10pt	a1a.html	0	Frame2	linkto.gif	0
3	Alpha one b	#FFFFCC	None	1	10pt	a1b.html	0	Frame2	linkto.gif	0
2	Alpha two	#FFFFCC	None	1	10pt	a2.html	0	Frame2	linkto.gif	0
1	Bravo	#FFFFCC	None	1	10pt	b.html	0	Frame2	linkto.gif	0
1	Charlie	#FFFFCC	None	1	10pt		0	Frame2	linkto.gif	0
2	Charlie one	#FFFFCC	None	1	10pt	c1.html	0	Frame2	linkto.gif	0
2	Charlie two	#FFFFCC	None	1	10pt	c2.html	0	Frame2	linkto.gif	0
1	Delta	#FFFFCC	None	1	10pt	d.html	0	Frame2	linkto.gif	0
