// The application object of the unit-test program, which the framework's code asks for.
#include "framework/CWinApp.h"

namespace {
class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("unit_tests") {}
};
CTestApp theTestApp;
}  // namespace
