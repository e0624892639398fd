#include "tests/win/web_class_override.h"

namespace webtest {

HRESULT PlainOleObject::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleObject) {
        *out = static_cast<IOleObject*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ClassOverride::ClassOverride(REFCLSID clsid, IUnknown* object) : object_(object) {
    if (FAILED(CoRegisterClassObject(clsid, static_cast<IClassFactory*>(this), CLSCTX_INPROC_SERVER,
                                     REGCLS_MULTIPLEUSE, &cookie_)))
        cookie_ = 0;
}

ClassOverride::~ClassOverride() {
    if (cookie_) CoRevokeClassObject(cookie_);
}

HRESULT ClassOverride::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT ClassOverride::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    ++creations;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (!object_) return E_OUTOFMEMORY;  // as a control that cannot start would answer
    return object_->QueryInterface(iid, out);
}

}  // namespace webtest
