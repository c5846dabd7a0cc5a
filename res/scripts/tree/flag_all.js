        if (document.layers) {
            if (document.layers["t" + (parseInt(Start)+1)].visibility == "show") i = 1;
        }
        if (document.all) {
            if (document.all("t" + (parseInt(Start)+1)).style.visibility == "visible") i = 1;
        } else {
            if (document.getElementById) {
                if (document.getElementById("t" + (parseInt(Start)+1)).style.visibility == "visible") i = 1;
            }
        }
        if (i == 1) {
            CloseTree(0);
            return;
        } else {
            CloseTree(0);
        }
