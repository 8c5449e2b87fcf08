#include "RecordingBuddyWindow.h"

#include "LoopbackWire.h"
#include "core/IpMessage.h"
#include "core/ShareListReply.h"
#include "engine/WindowLinks.h"

#include <future>
#include <mutex>
#include <thread>

namespace {

HWND window = NULL;
std::mutex deliveriesGuard;
std::vector<BuddyWindowDelivery> deliveries;
std::vector<ShareWindowDelivery> shareDeliveries;
bool refusing = false;

std::string copyOf(const CString& text)
{
    return std::string((const char*)text, text.GetLength());
}

void record(UINT message, const IpMessage* ipMessage)
{
    BuddyWindowDelivery delivery;
    delivery.message = message;
    delivery.version = copyOf(ipMessage->version);
    delivery.packetNo = copyOf(ipMessage->packetNo);
    delivery.user = copyOf(ipMessage->user);
    delivery.group = copyOf(ipMessage->group);
    delivery.host = copyOf(ipMessage->host);
    delivery.extra = copyOf(ipMessage->extra);
    delivery.senderIp = copyOf(ipMessage->senderIp);
    delivery.command = ipMessage->command;
    delivery.datagramWaiting = datagramWaiting();
    std::lock_guard<std::mutex> lock(deliveriesGuard);
    deliveries.push_back(delivery);
}

std::vector<std::string> copiesOf(const CStringArray& texts)
{
    std::vector<std::string> copies;
    for (INT_PTR i = 0; i < texts.GetSize(); ++i)
        copies.push_back(copyOf(texts[i]));
    return copies;
}

void recordShares(const ShareListReply* reply)
{
    ShareWindowDelivery delivery;
    delivery.userName = copyOf(reply->userName);
    delivery.ip = copyOf(reply->ip);
    delivery.entries = copiesOf(reply->entries);
    delivery.names = copiesOf(reply->names);
    delivery.malformedPieces = reply->malformedPieces;
    std::lock_guard<std::mutex> lock(deliveriesGuard);
    shareDeliveries.push_back(delivery);
}

LRESULT CALLBACK recordingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER_ADD_SHARE_ITEMS) {
        recordShares((const ShareListReply*)lParam);
        return 0;
    }
    if (message == WM_USER_ADD_BUDDY || message == WM_USER_RECEIVE_MESSAGE || message == WM_USER_REMOVE_BUDDY) {
        record(message, (const IpMessage*)lParam);
        if (message == WM_USER_RECEIVE_MESSAGE) {
            std::lock_guard<std::mutex> lock(deliveriesGuard);
            return refusing ? 0 : CHAT_TEXT_TAKEN;
        }
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void runWindowThread(std::promise<HWND>* created)
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = recordingWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "RecordingBuddyList";
    RegisterClassA(&windowClass);
    HWND hwnd = CreateWindowExA(0, "RecordingBuddyList", "buddy list", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, NULL, NULL,
                                windowClass.hInstance, NULL);
    created->set_value(hwnd);

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
}

}  // namespace

HWND receiveProgressWindow()
{
    return NULL;
}

HWND buddyListWindow()
{
    return window;
}

HWND peerSharesWindow()
{
    return window;
}

void startRecordingBuddyWindow()
{
    std::promise<HWND> created;
    std::thread(runWindowThread, &created).detach();
    window = created.get_future().get();
}

std::vector<BuddyWindowDelivery> takeBuddyWindowDeliveries()
{
    std::lock_guard<std::mutex> lock(deliveriesGuard);
    std::vector<BuddyWindowDelivery> taken;
    taken.swap(deliveries);
    return taken;
}

std::vector<ShareWindowDelivery> takeShareWindowDeliveries()
{
    std::lock_guard<std::mutex> lock(deliveriesGuard);
    std::vector<ShareWindowDelivery> taken;
    taken.swap(shareDeliveries);
    return taken;
}

void refuseChatTexts(bool refuse)
{
    std::lock_guard<std::mutex> lock(deliveriesGuard);
    refusing = refuse;
}
