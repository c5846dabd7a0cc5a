[Title]	ホームページ
[BgColor]	#4099FF
[BackPicture]	
[Start]	10
[Left]	10
[Row]	16
[Indent]	20
[BodyText]	#000000
[BodyLink]	#0000FF
[BodyVlink]	#8000FF
[BodyAlink]	#0000A0
[BodyHover]	#FF0000
[BodyHoverBack]	#FFFF00
[TextBackOn]	1
[ParentLink]	1
[TreeBgColor]	16777215
[TreeItemColor]	0
[Plus]	plus.gif
[Minus]	minus.gif
[Linkto]	
[Otherw]	otherw.gif
[RightFrame]	Right
[OtherwFrame]	OtherW
[FirstPage]	
[FirstTopPage]	
[Browser]	IE4-5, NN4, NN6
[ParentLinkOn]	1
[Unite]	1
[Path]	pomeli2.html
[CloseTree]	1
[CloseItems]	1
[Speed]	5
0	ホームページ	#8080FF	None	1	10pt		0	Frame2		0
1	One	#8080FF	None	1	10pt	one.html	0	Frame2	linkto.gif	1
2	file:pic.gif:Picture	#8080FF	None	1	10pt	p.html	0	Frame2	mine.gif	0
2	Sub	#8080FF	Bold&Italic	1	10pt		0	Frame2	linkto.gif	0
3	Deep	#8080FF	None	1	10pt	deep.html	2	Frame2	linkto.gif	0
1	Two	#FFCC00	Italic	1	10pt	two.html	1	Frame2	linkto.gif	0
1	file:logo.gif	#8080FF	None	1	10pt	logo.html	0	Frame2		0
