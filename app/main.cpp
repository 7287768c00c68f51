#include "SimApp.h"

int main(int argc, char** argv) {
    CSimApp app(argc, argv);
    app.InitInstance();
    return 0;
}
