// Tarpin32: change notifications of the AppleTalk network provider. The
// table editors call them with 0 after a table file was saved; the result is
// ignored.
#pragma once

#include "atalk_records.h"

extern "C" {

int32_t ATSTACK_CALL VSXNotifyPAPTypesChanged(int32_t reserved);
int32_t ATSTACK_CALL VSXNotifyKorvelChanged(int32_t reserved);

}
