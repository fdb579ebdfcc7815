#include "vantorelapp.h"

int main(int argc, char *argv[])
{
    return vantorel::VantorelApp::main(argc, argv);
}
