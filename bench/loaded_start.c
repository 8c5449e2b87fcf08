/* The second yardstick for the messenger's start-up: a Win32 program that loads what the messenger
   loads before its entry broadcast and then sends one UDP broadcast to port 2425, so that the
   benchmark can tell the messenger's own start-up cost from what Wine charges any program for the
   same libraries and windows. In the messenger's order: the common controls (the same classes,
   and version 6 through the same manifest), the registry (a profile key and the Run values), Winsock,
   a hidden frame window, the tray icon, a shown window with a tree view; the rich edit
   library, which the messenger's chat and message windows load, comes before the broadcast too.
   It then removes its icon and ends. Built by the test build; run by bench/receive_path.py. */
#include <winsock2.h>
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#define TRAY_MESSAGE (WM_APP + 1)

static const char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

static void read_registry(void)
{
    HKEY key;
    HKEY roots[2] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
    int i;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ZQ Yardstick\\loaded_start\\Recent File List", 0, NULL, 0,
                        KEY_READ | KEY_WRITE, NULL, &key, NULL) == ERROR_SUCCESS) {
        for (i = 1; i <= 4; ++i) {
            char name[16], value[MAX_PATH];
            DWORD size = sizeof value;
            wsprintfA(name, "File%d", i);
            RegQueryValueExA(key, name, NULL, NULL, (BYTE*)value, &size);
        }
        RegCloseKey(key);
    }
    for (i = 0; i < 2; ++i) {
        if (RegOpenKeyExA(roots[i], RUN_KEY, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
            RegQueryValueExA(key, "ZQ", NULL, NULL, NULL, NULL);
            RegCloseKey(key);
        }
    }
}

static HWND make_window(HINSTANCE instance, const char* title, DWORD style)
{
    return CreateWindowExA(0, "LoadedStart", title, style, CW_USEDEFAULT, CW_USEDEFAULT, 240, 400, NULL, NULL, instance,
                           NULL);
}

static void fill_tree(HWND list, HINSTANCE instance)
{
    HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, 0, 0,
                                220, 360, list, NULL, instance, NULL);
    TVINSERTSTRUCTA item;
    HTREEITEM group;
    ZeroMemory(&item, sizeof item);
    item.hParent = TVI_ROOT;
    item.hInsertAfter = TVI_LAST;
    item.item.mask = TVIF_TEXT;
    item.item.pszText = "Group";
    group = (HTREEITEM)SendMessageA(tree, TVM_INSERTITEMA, 0, (LPARAM)&item);
    item.hParent = group;
    item.item.pszText = "Peer";
    SendMessageA(tree, TVM_INSERTITEMA, 0, (LPARAM)&item);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)group);
}

static void broadcast(void)
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    struct sockaddr_in to;
    BOOL on = TRUE;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, (const char*)&on, sizeof on);
    ZeroMemory(&to, sizeof to);
    to.sin_family = AF_INET;
    to.sin_port = htons(2425);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    sendto(s, "loaded", 6, 0, (const struct sockaddr*)&to, sizeof to);
    closesocket(s);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX),
                                     ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                         ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    WNDCLASSA windowClass;
    WSADATA data;
    NOTIFYICONDATAA icon;
    HWND frame, list;
    (void)previous;
    (void)commandLine;
    (void)show;

    InitCommonControlsEx(&controls);
    read_registry();
    WSAStartup(MAKEWORD(1, 1), &data);

    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
    windowClass.lpszClassName = "LoadedStart";
    RegisterClassA(&windowClass);
    frame = make_window(instance, "loaded_start frame", WS_POPUP);

    ZeroMemory(&icon, sizeof icon);
    icon.cbSize = sizeof icon;
    icon.hWnd = frame;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    icon.uCallbackMessage = TRAY_MESSAGE;
    icon.hIcon = LoadIcon(NULL, IDI_APPLICATION);
    lstrcpyA(icon.szTip, "loaded_start");
    Shell_NotifyIconA(NIM_ADD, &icon);

    list = make_window(instance, "loaded_start list", WS_OVERLAPPEDWINDOW);
    fill_tree(list, instance);
    ShowWindow(list, SW_SHOW);
    UpdateWindow(list);

    LoadLibraryA("RICHED32.DLL");
    broadcast();

    Shell_NotifyIconA(NIM_DELETE, &icon);
    DestroyWindow(list);
    DestroyWindow(frame);
    WSACleanup();
    return 0;
}
