// The plug-in library's application object.
//
// One CPlugInApp exists per loaded library: made by the library's static
// initialisation when the host loads it and destroyed when the host unloads
// it, so every static of a plug-in starts from its initial value on each
// operation. It makes no Qt application: the plug-in runs inside the host's.
//
// Unload hygiene, for every plug-in:
//   - objects deleted with deleteLater() are deleted before the library goes
//     (the host's unload and this object's destruction both flush them);
//   - never send a type the plug-in defines through a queued connection:
//     Qt keeps the registration after the library is gone and the next load
//     crashes. Queue only types Qt knows, or call directly.
#pragma once

class CPlugInApp {
public:
    // The library's object; null before static initialisation and after
    // unload began.
    static CPlugInApp* Get();
    // How many times this library's object has been made; 1 in a fresh load.
    static int Constructions();

    CPlugInApp();
    ~CPlugInApp();
    CPlugInApp(const CPlugInApp&) = delete;
    CPlugInApp& operator=(const CPlugInApp&) = delete;
};
