#include "core/modMain.h"
#include <QApplication>

namespace modMain {

int Main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return 0;
}

void StartUp() {}
QString GetWinUserName() { return {}; }
bool IsOnline(int16_t &flags) { flags = 0; return false; }

}
