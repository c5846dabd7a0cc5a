    if (Flag==1) {
        IdNo = Start;
        CloseTree(0);
    }
