#include "modules/system/MessageTable.h"

#include <cstdlib>

namespace System {

const std::map<std::int32_t, const char16_t*>& MessageTable::Rows() {
    static const std::map<std::int32_t, const char16_t*> rows = {
        {1001, u"Failed to allocate {0} bytes"},
        {1002, u"Can not open file '{0}'; last system error is '{1}'"},
        {1003, u"Null pointer exception"},
        {1004, u"File is not open"},
        {1005, u"File is already open"},
        {1006, u"String can not be converted"},
        {1007, u"Index out of bounds"},
        {1008, u"Can not create directory '{0}; last system error is '{1}'"},
        {1009, u"Can not delete directory '{0}; last system error is '{1}'"},
        {1010, u"An unreacheable code exception has occured."},
        {1011, u"An unknown error has occured"},
        {1012, u"An initialization error has occured"},
        {1013, u"Font bytes not found"},
        {1015, u"Can not read file '{0}'; last system error is '{1}'"},
        {1016, u"Can not read {1} bytes from file '{0}'; last system error is '{2}'"},
        {1017,
         u"The program needs a feature that is not implemented in the current version. Please "
         u"contact Tamsil Technical Support."},
        {1018, u"Failed to convert UTF-16 string to UTF-8 byte array"},
        {1019, u"Failed to convert UTF-8 byte array to UTF-16 string"},
        {1020, u"Feature is not available"},
        {1021, u"Internal error"},
        {1022, u"An invalid buffer length exception has occured"},
        {1023, u"Cannot get computer name"},
        {1024, u"The date is invalid"},
        {1025, u"Error parsing url : {0}"},
        {1026, u"Error parsing url : Invalid components"},
        {1027, u"Server connection could not be established: {0}."},
        {1028, u"Failed to submit server request: {0}"},
        {1029, u"Failed to send the request: {0}"},
        {1030, u"Zero-length server response not expected."},
        {1031, u"Unknown error occured while connecting to the server."},
        {1032, u"Network error"},
        {1033, u"Ghostscript is not installed."},
        {1034, u"Ghostscript not installed properly."},
        {1035, u"Can't obtain temporary folder: {0}."},
        {1036, u"Can't create temporary file in folder '{0}': {1}."},
        {1037, u"Failed to obtain module path: {0}."},
        {1038, u"Invalid cast exception"},
        {1039, u"Can't rename file '{0}' to '{1}'; last system error is '{2}'."},
        {1040, u"Temporary file '{0}' could not be deleted."},
    };
    return rows;
}

namespace {
// Built during start-up, before the program's own code runs.
[[maybe_unused]] const auto& g_rows_at_startup = MessageTable::Rows();
}  // namespace

const char16_t* LookupMessage(std::int32_t messageId) {
    const auto& rows = MessageTable::Rows();
    const auto row = rows.find(messageId);
    if (row == rows.end())
        std::exit(1);
    return row->second;
}

}  // namespace System
