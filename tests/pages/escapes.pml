[Title]	ホームページ
[BgColor]	#4099FF
[BackPicture]	
[Start]	10
[Left]	10
[Row]	010
[Indent]	020
[BodyText]	#000000
[BodyLink]	#0000FF
[BodyVlink]	#8000FF
[BodyAlink]	#0000A0
[BodyHover]	
[BodyHoverBack]	
[TextBackOn]	0
[ParentLink]	1
[TreeBgColor]	16777215
[TreeItemColor]	0
[Plus]	plus.gif
[Minus]	img\minus.gif
[Linkto]	linkto.gif
[Otherw]	otherw.gif
[RightFrame]	Frame2
[OtherwFrame]	OtherW
[FirstPage]	
[FirstTopPage]	
[Browser]	IE4-5, NN4, NN6
[ParentLinkOn]	1
[Unite]	0
[Path]	pomeli2.html
[CloseTree]	1
[CloseItems]	0
[Speed]	5
0	ホームページ	#8080FF	None	1	10pt		0	Frame2		0
1	Quotes	#8080FF	None	1	10pt	it's.html	0	Frame2	linkto.gif	0
1	Parent	#8080FF	None	1	10pt	dir\file.htm	0	Frame2	linkto.gif	0
2	Child	#8080FF	None	1	10pt	c.html	0	Frame2	linkto.gif	0
2	Leave	#8080FF	None	1	10pt	it's "top".html	2	Frame2	linkto.gif	0
1	表示ソフト	#8080FF	None	1	10pt	表\ソ.html	0	Frame2	linkto.gif	0
