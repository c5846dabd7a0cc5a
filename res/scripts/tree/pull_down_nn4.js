    if (document.layers) {
        Pos = parseInt(document.layers["t" + parseInt(Start)].top);
        if (document.layers["t" + i].visibility == "hide") {
            document.layers["t" + parseInt(Start)].document.images["i" + parseInt(Start)].src = "{Minus}";
            for (i=parseInt(Start)+1;i<=parseInt(End);i++){
                if (document.layers["t" + i].left == document.layers["t" + parseInt(Start)].left + {Indent}) {
                    document.layers["t" + i].visibility = "show";
                    Pos = Pos + {Row};
                    document.layers["t" + i].top = Pos;
                } else {
                    Count = Count + 1;
                }
            }
            for (i=parseInt(End)+1;i<=lastitem;i++){
                if (document.layers["t" + i].visibility == "show")
                    document.layers["t" + i].top = document.layers["t" + i].top + {Row} * (parseInt(End) - parseInt(Start) - Count);
            }
        } else {
            document.layers["t" + parseInt(Start)].document.images["i" + parseInt(Start)].src = "{Plus}";
            for (i=parseInt(Start)+1;i<=parseInt(End);i++){
                if (document.layers["t" + i].visibility == "hide") Count = Count + 1;
                if (i<parseInt(End)) {
                    if (parseInt(document.layers["t" + (i + 1)].left) == parseInt(document.layers["t" + i].left) + {Indent}) {
                        document.layers["t" + i].document.images["i" + i].src = "{Plus}";
                    }
                }
                document.layers["t" + i].visibility = "hide";
                document.layers["t" + i].top = Pos;
            }
            for (i=parseInt(End)+1;i<=lastitem;i++){
                if (document.layers["t" + i].visibility == "show")
                    document.layers["t" + i].top = document.layers["t" + i].top - {Row} * (parseInt(End) - parseInt(Start) - Count);
            }
        }
    }
