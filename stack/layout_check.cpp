// Compiles every stack record and call declaration in each build, so that
// the layout checks of the headers run for 32-bit and 64-bit Windows and for
// the native build alike.
#include "atalk_records.h"
#include "kestra32.h"
#include "molven32.h"
#include "netinfo_block.h"
#include "pap_block.h"
#include "tarpin32.h"
#if defined(_WIN32)
#include "vsxau20.h"
#endif

#if defined(_WIN32) && UINTPTR_MAX == 0xFFFFFFFFu
// The product's own target: the data pointer sits at 0xA8 in four bytes.
static_assert(sizeof(void*) == 4 && offsetof(PAPParamBlock, data) == 0xA8);
#endif
