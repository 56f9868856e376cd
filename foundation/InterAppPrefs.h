#pragma once
// The registry of preferences shared between the author's applications
// ("AccKeyFormat2", "FlatToolBar"): items by name, their values, the application
// signature, the observers, and the protocol that opens the one shared-preferences
// window that all of them use (see IAPPort.h for the port it listens on).
//
// Threads: the application thread applies received notices and opens the window;
// window threads, the compiler and the machine read values. One lock guards every
// call into an item and the observer list; it is released before observers are
// told, before anything is written to a port and before the window is made.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/IAPItem.h"
#include "platform/Geometry.h"
#include "platform/Message.h"
#include "platform/Messenger.h"

// The shared-preferences window made in this process, as the registry sees it.
struct TIAPLocalWindow {
    int32_t port = -500;       // its port (a listening port), or kIAPPortFailed
    platform::Messenger view;  // its view, which handles 'iawr', 'iacr' and '_QRQ'
};
// Makes the window at `frame`, shows it (which starts its port thread) and says
// where it is. The GUI installs one; without it no window can be made here.
using TIAPWindowMaker = std::function<TIAPLocalWindow(const platform::Rect& frame)>;

class TInterAppPrefs {
public:
    // Empty: no items, no observers, no signature. Opens nothing and reads nothing.
    TInterAppPrefs() = default;
    // Deletes every registered item.
    ~TInterAppPrefs();

    TInterAppPrefs(const TInterAppPrefs&) = delete;
    TInterAppPrefs& operator=(const TInterAppPrefs&) = delete;

    // Takes ownership of the item and gives it the registry's signature; always 0.
    int32_t AddItem(TIAPItem* item);
    int32_t AddObserver(const platform::Messenger& observer);
    // -1 when no item has that name (the output untouched); else the item's result.
    int32_t GetBool(const char* name, bool* value) const;
    int32_t GetString(const char* name, std::string* value) const;
    int32_t SetBool(const char* name, bool value);
    int32_t SetString(const char* name, const std::string& value);
    // Applies a shared-preference notice '_ipc' to the item it names ("IAP:SrcIAPItem")
    // and, when the item took it, tells the observers.
    int32_t SetValue(const platform::Message& notice);
    void NotifyToObservers(platform::Message notice);
    // Stores the signature (borrowed) and gives it to every item; always 0.
    int32_t SetAppSignatureRef(const char* signature);

    const char* AppSignatureRef() const { return mAppSignature; }
    bool WindowOpened() const { return mOpenedWindow.load(std::memory_order_acquire); }

    // The component set 'iacr' of this application: under each item's name, in byte
    // order of the names, the current component twice and the default one.
    platform::Message MakeComponents() const;
    // Sends the component set to the window behind `port`, or, when `port` is no
    // port, straight to this process's own window; always 0.
    int32_t AddComponents(int32_t port) const;

    void SetWindowMaker(TIAPWindowMaker maker);
    // Brings the shared window forward, or makes one here when no live window's port
    // answers, then sends this application's components; always 0.
    int32_t ShowWindow(const platform::Rect& frame);
    // Makes and shows the window in this process: a connection to its port, or
    // kIAPPortFailed when the window has no port (it is then reached in-process).
    int32_t CreateAndShowWindow(const platform::Rect& frame);
    // Writes one message to a connected port; the platform's status (kTimedOut when
    // the window's application takes nothing for kIAPSendTimeout).
    int32_t SendMessage(int32_t port, const platform::Message* message) const;
    // Asks the window to hide and revert: 0 when sent or when there is no window,
    // -1 without `force` in an application that did not make the window.
    int32_t CloseWindow(bool force) const;
    void ActivateWindow(int32_t port) const;

private:
    TIAPItem* Find(const char* name) const;
    // Sends to a port, or to this process's window when `port` is none.
    void Deliver(int32_t port, const platform::Message& message) const;

    std::atomic<bool> mOpenedWindow{false};
    const char* mAppSignature = nullptr;
    std::vector<platform::Messenger> mObservers;
    std::map<std::string, TIAPItem*> mItems;
    mutable std::mutex mLock;

    // Used on the application thread only.
    TIAPWindowMaker mWindowMaker;
    bool mHasLocalWindow = false;
    TIAPLocalWindow mLocalWindow;
};
