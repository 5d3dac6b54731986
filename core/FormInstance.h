#pragma once
// Every window of the program exists at most once, as in a forms runtime with default
// instances: T::Get() loads the window on first use, T::Peek() tells whether it is loaded
// (nullptr when not), T::Unload() destroys it. The window's constructor is its Load event and
// its destructor its Unload event (where each sets and clears its FormLoaded element).
template <class T>
class FormInstance {
public:
    static T *Get()
    {
        if (!s_instance)
            s_instance = new T;
        return s_instance;
    }
    static T *Peek() { return s_instance; }
    static void Unload()
    {
        T *w = s_instance;
        s_instance = nullptr;
        delete w;
    }

protected:
    // A window destroyed by its owner (for example with the frame) forgets itself here.
    static void Forget(T *self)
    {
        if (s_instance == self)
            s_instance = nullptr;
    }

private:
    static inline T *s_instance = nullptr;
};
