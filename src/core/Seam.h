#pragma once

// The install point of a seam: a lower layer calls through the interface T, and the object
// that provides it (a window or dialog of a higher layer, or a test's fake) installs itself
// once it exists. Until then, and after it uninstalls, the interface's stand-in answers.
// Each interface declares its stand-in next to itself and defines it in its own unit:
//     template <> TFoo& TSeam<TFoo>::StandIn();                        // in the header
//     template <> TFoo& TSeam<TFoo>::StandIn() { return NoFoo; }       // in the unit
template <class T>
class TSeam
{
public:
    // Null puts the stand-in back.
    static void Install(T* provider) { Installed = provider; }
    static T& Get() { return Installed != nullptr ? *Installed : StandIn(); }

private:
    static T& StandIn();
    static inline T* Installed = nullptr;
};
