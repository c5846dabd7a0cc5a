[Title]	見本のメニュー
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
[BodyHover]	
[BodyHoverBack]	
[TextBackOn]	0
[ParentLink]	0
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
[Browser]	IE4-5, NN4, NN6
[ParentLinkOn]	0
[Unite]	0
[Path]	pomeli2.html
[CloseTree]	0
[CloseItems]	0
[Speed]	5
0	ホームページ	#8080FF	None	1	10pt		0	Frame2		0
1	製品	#8080FF	None	1	10pt	products.html	0	Frame2	linkto.gif	0
2	ハード	#8080FF	Bold	1	12pt	hard.html	0	Frame2	linkto.gif	0
1	お問い合わせ	#8080FF	None	1	10pt	mail.html	1	Frame2	linkto.gif	0
1	旧製品	#8080FF	None	1	10pt	products.html	0	Frame2	linkto.gif	0
2	ソフト	#8080FF	None	1	10pt	soft.html	0	Frame2	linkto.gif	0
2	ハード	#8080FF	Bold	1	10pt	hard.html	0	Frame2	linkto.gif	0
2	会社概要	#8080FF	None	1	10pt	about.html	0	Frame2	linkto.gif	0
