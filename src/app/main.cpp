// Kerfpad: the application object, then the main block does the rest.
#include "app/MainBlock.h"

int main(int argc, char** argv)
{
    TKerfpadApplication app(argc, argv);
    return KerfpadMainBlock(QApplication::arguments().mid(1));
}
