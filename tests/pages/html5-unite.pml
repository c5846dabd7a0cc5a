[Title]	Unite
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
[BodyHover]	
[BodyHoverBack]	#FFFF00
[TextBackOn]	0
[ParentLink]	1
[TreeBgColor]	16777215
[TreeItemColor]	0
[Plus]	plus.gif
[Minus]	minus.gif
[Linkto]	linkto.gif
[Otherw]	otherw.gif
[RightFrame]	Right
[OtherwFrame]	OtherW
[FirstPage]	
[FirstTopPage]	
[Browser]	HTML5
[ParentLinkOn]	0
[Unite]	1
[Path]	pomeli2.html
[CloseTree]	0
[CloseItems]	0
[Speed]	5
0	Unite	#8080FF	None	1	10pt		0	Frame2		0
1	Guide	#8080FF	None	1	10pt	guide.html	0	Frame2	linkto.gif	0
2	Guide one	#8080FF	None	1	10pt	g1.html	1	Frame2	linkto.gif	0
2	Guide two	#8080FF	None	1	10pt		0	Frame2	linkto.gif	1
3	Guide two a	#8080FF	None	1	10pt	g2a.html	0	Frame2	linkto.gif	0
1	Plain	#8080FF	None	1	10pt	plain.html	2	Frame2	linkto.gif	0
