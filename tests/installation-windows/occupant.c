/* Tient un fichier ouvert sans partage d'écriture, comme Windows tient l'image d'un
   programme lancé : occupant.exe FICHIER TEMOIN. Le témoin est créé une fois le fichier
   tenu ; l'occupant s'en va quand le témoin disparaît (deux minutes au plus). */
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    HANDLE f = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE) return 1;
    HANDLE t = CreateFileW(argv[2], GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
    if (t == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(t);
    for (int i = 0; i < 1200 && GetFileAttributesW(argv[2]) != INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
    CloseHandle(f);
    return 0;
}
