// tamsel: the desktop program. An optional first argument names a project (.vlt) to open.
#include "desktop/app/CVeltmarkApp.h"

int main(int argc, char** argv)
{
    CVeltmarkApp app(argc, argv);
    return app.run();
}
