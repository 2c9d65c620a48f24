#include "management/wmi/wmi_management.h"

#include <objbase.h>

#include "com_error.h"
#include "platform/com_ptr.h"
#include "platform/utf16.h"
#include "wmi_objects.h"

namespace quorvel {

LocatorRef WmiManagement::CreateLocator() {
    CLSID locatorClass{};
    com::ThrowIfFailed(CLSIDFromProgID(L"WbemScripting.SWbemLocator", &locatorClass));
    platform::ComPtr<IDispatch> locator;
    com::ThrowIfFailed(
        CoCreateInstance(locatorClass, nullptr, CLSCTX_SERVER, IID_IDispatch, locator.PutVoid()));
    return wmi::WrapLocator(std::move(locator));
}

ServiceRef WmiManagement::GetObjectByMoniker(const std::string& moniker) {
    platform::ComPtr<IDispatch> service;
    com::ThrowIfFailed(
        CoGetObject(ToUtf16(moniker).c_str(), nullptr, IID_IDispatch, service.PutVoid()));
    return wmi::WrapService(std::move(service));
}

}  // namespace quorvel
