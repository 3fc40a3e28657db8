// Looks up a message id that has no row.
#include <cstdio>

#include "PrintingListener.h"
#include "modules/system/MessageTable.h"

int main() {
    System::AddMessageListener(new PrintingListener);
    std::printf("before\n");
    std::fflush(stdout);
    System::LookupMessage(1014);
    std::printf("after\n");
    return 0;
}
