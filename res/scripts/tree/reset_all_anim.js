function ResetPosition(Start,Id,End)
{
    i = 0;
    if (document.layers) {
        if (document.layers["t" + Id].visibility == "show") i = 1;
    }
    if (document.all) {
        if (document.all("t" + parseInt(Id)).style.visibility == "visible") i = 1;
    } else {
        if (document.getElementById) {
            if (document.getElementById("t" + Id).style.visibility == "visible") i = 1;
        }
    }
    if (i == 1) {
        CurId = parseInt(Id);
        CurStart = parseInt(Start);
        CurEnd = parseInt(End);
        CloseItems();
    }
}
