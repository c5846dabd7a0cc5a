[Title]	メニュー見本
[BgColor]	#FFFFFF
[BackPicture]	back.gif
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
[TextBackOn]	1
[ParentLink]	0
[TreeBgColor]	16777215
[TreeItemColor]	255
[Plus]	plus.gif
[Minus]	minus.gif
[Linkto]	linkto.gif
[Otherw]	otherw.gif
[RightFrame]	なし
[OtherwFrame]	OtherW
[FirstPage]	
[FirstTopPage]	
[Browser]	NN6 Only
[ParentLinkOn]	0
[Unite]	0
[Path]	web/menu.html
[CloseTree]	1
[CloseItems]	0
[Speed]	8
[BodyHeader]	head.txt
0	メニュー見本	#8080FF	None	1	10pt		0	Frame2		0
1	製品	#8080FF	None	1	10pt	products.html	0	Frame2	linkto.gif	1
2	工具	#8080FF	None	1	10pt	tools.html	1	Right	linkto.gif	0
2	表示	#8080FF	None	1	10pt	ソフト\表.html	2	_blank	linkto.gif	0
1	連絡先	#FFCC00	Bold	1	12pt	contact.html	0	Frame2	linkto.gif	0
