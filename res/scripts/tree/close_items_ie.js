function CloseItems()
{
    if (document.all) {
        CurPos = parseInt(document.all("t" + CurStart).style.top);
        for (i=CurId;i<=CurEnd;i++) {
            if (parseInt(document.all("t" + i).style.top) > CurPos) {
                document.all("t" + i).style.top = parseInt(document.all("t" + i).style.top) - {Speed};
                if (document.all("t" + i).style.visibility == "visible") {
                    j = i;
                }
            }
        }
        if (parseInt(document.all("t" + j).style.top) <= CurPos) {
            clearTimeout(TimeoutId);
            PullDown(CurStart,CurEnd,2);
        } else {
            TimeoutId = setTimeout("CloseItems()",1);
        }
    }
}
