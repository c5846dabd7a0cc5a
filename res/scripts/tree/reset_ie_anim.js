function ResetPosition(Start,Id,End)
{
    if (document.all) {
        if (document.all("t" + parseInt(Id)).style.visibility == "visible") {
            CurId = parseInt(Id);
            CurStart = parseInt(Start);
            CurEnd = parseInt(End);
            CloseItems();
        }
    }
}
