// Installs a printing listener, raises one exception, and exits normally.
#include "PrintingListener.h"
#include "xml/model/SmartPtr.h"

int main() {
    System::AddMessageListener(new PrintingListener);
    try {
        SmartPtr<PrintingListener> none;
        none->WantsKind(0);
    } catch (const System::NullPointerException&) {
    }
    return 0;
}
