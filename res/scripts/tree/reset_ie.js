function ResetPosition(Start,Id,End)
{
    if (IdNo != Start) {
        if (document.all) {
            if (document.all("t" + parseInt(Id)).style.visibility == "visible") {
                PullDown(Start,End,2);
            }
        }
    }
}
