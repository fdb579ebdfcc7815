#pragma once

namespace vantorel {

// The application's entry: one QApplication, one window titled "Vantorel".
class VantorelApp
{
public:
    VantorelApp() = delete;
    static int main(int argc, char *argv[]);
};

} // namespace vantorel
