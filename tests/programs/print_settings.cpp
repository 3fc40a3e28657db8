// Prints the settings the library read at start-up, one per line.
#include <cstdio>

#include "services/Settings.h"
#include "xml/io/LoaderSettings.h"
#include "xml/io/ParserSettings.h"
#include "xml/schema/ValidatorSettings.h"

int main() {
    std::printf("trace=%d/%d/%d validation=%d maxsize=%u idle=%u\n",
                ParserSettings::traceComponentChoice, LoaderSettings::traceValidationTime,
                ValidatorSettings::measureTime, LoaderSettings::enableValidation,
                LoaderSettings::maxDocumentSize, ServiceSettings::idleTimeoutSeconds);
    return 0;
}
