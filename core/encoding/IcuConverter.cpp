#include "core/encoding/IcuConverter.h"

#include <unicode/ucnv.h>

namespace zelkora {

void CloseIcuConverter::operator()(UConverter* converter) const {
    ucnv_close(converter);
}

IcuConverter OpenIcuConverter(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    IcuConverter converter(ucnv_open(name, &status));
    if (U_FAILURE(status)) {
        converter.reset();
    }
    return converter;
}

}  // namespace zelkora
