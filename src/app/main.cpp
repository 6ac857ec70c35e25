// Kerfpad: the application object, then the main block does the rest.
#include "app/shell/MainBlock.h"

int main(int argc, char** argv)
{
    // The plug-in window's web view shares OpenGL contexts with the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TKerfpadApplication app(argc, argv);
    return KerfpadMainBlock(QApplication::arguments().mid(1));
}
