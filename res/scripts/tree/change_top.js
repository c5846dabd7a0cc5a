function ChangeTop(TopURL)
{
    top.location=TopURL;
}
