function ParentLink(PLink)
{
    window.open(PLink,"{RightName}");
}
