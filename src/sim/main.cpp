// vormex-printer-sim: a printer for tests and for trying the tool without hardware.
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream(stderr) << "vormex-printer-sim: not available yet\n";
    return 1;
}
