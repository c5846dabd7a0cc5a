    if (document.all) {
        Pos = parseInt(document.all("t" + parseInt(Start)).style.top);
        if (document.all("t" + i).style.visibility == "hidden") {
            document.images["i" + parseInt(Start)].src = "{Minus}";
            for (i=parseInt(Start)+1;i<=parseInt(End);i++){
                if (parseInt(document.all("t" + i).style.left) == parseInt(document.all("t" + parseInt(Start)).style.left) + {Indent}) {
                    document.all("t" + i).style.visibility = "visible";
                    Pos = Pos + {Row};
                    document.all("t" + i).style.top = Pos;
                } else {
                    Count = Count + 1;
                }
            }
            for (i=parseInt(End)+1;i<=lastitem;i++){
                if (document.all("t" + i).style.visibility == "visible") {
                    Pos = parseInt(document.all("t" + i).style.top) + {Row} * (parseInt(End) - parseInt(Start) - Count);
                    document.all("t" + i).style.top = Pos;
                }
            }
        } else {
            document.images["i" + parseInt(Start)].src = "{Plus}";
            for (i=parseInt(Start)+1;i<=parseInt(End);i++){
                if (document.all("t" + i).style.visibility == "hidden") Count = Count + 1;
                if (i<parseInt(End)) {
                    if (parseInt(document.all("t" + (i + 1)).style.left) == parseInt(document.all("t" + i).style.left) + {Indent}) {
                        document.images["i" + i].src = "{Plus}";
                    }
                }
                document.all("t" + i).style.visibility = "hidden";
                document.all("t" + i).style.top = Pos;
            }
            for (i=parseInt(End)+1;i<=lastitem;i++){
                if (document.all("t" + i).style.visibility == "visible") {
                    Pos = parseInt(document.all("t" + i).style.top) - {Row} * (parseInt(End) - parseInt(Start) - Count);
                    document.all("t" + i).style.top = Pos;
                }
            }
        }
    }
