#include "vantorelapp.h"
#include "verifycommand.h"

int main(int argc, char *argv[])
{
    // The terminal check runs before, and instead of, any application object or window.
    if (const auto status = vantorel::runVerifyCommand(argc, argv))
        return *status;
    return vantorel::VantorelApp::main(argc, argv);
}
