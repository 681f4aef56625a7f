// Tarpin32: the network provider's change notifications. Each is recorded in
// the service's trace; VSXNotifyPAPTypesChanged also makes every process's
// IsPostScriptPrinterType (Molven32) read the printer type table again.
// GCC 12 at -O3 (the 32-bit release build) reports null dereferences inside
// nlohmann/json that cannot happen; keep the warning for our own code elsewhere.
#pragma GCC diagnostic ignored "-Wnull-dereference"

#include <winsock2.h>

#include <windows.h>

#include "client.h"
#include "tarpin32.h"

namespace {

atclient::Client& TheClient()
{
    static atclient::Client* client = new atclient::Client("Tarpin32");
    return *client;
}

int32_t Notify(const char* what, int32_t reserved)
{
    return TheClient().Call({{"op", "tarpin.notify"}, {"what", what}, {"reserved", reserved}});
}

}  // namespace

extern "C" {

int32_t ATSTACK_CALL VSXNotifyPAPTypesChanged(int32_t reserved)
{
    return Notify("paptypes", reserved);
}

int32_t ATSTACK_CALL VSXNotifyKorvelChanged(int32_t reserved)
{
    return Notify("korvel", reserved);
}

}
