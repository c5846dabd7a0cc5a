        if (document.all) {
            if (document.all("t" + (parseInt(Start)+1)).style.visibility == "visible") {
                CloseTree(0);
                return;
            } else {
                CloseTree(0);
            }
        }
