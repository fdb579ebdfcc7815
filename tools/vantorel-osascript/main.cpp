// Placeholder until the interpreter lands.
int main()
{
    return 1;
}
