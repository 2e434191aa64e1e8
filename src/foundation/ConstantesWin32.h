#pragma once
// Constantes du projet qui portent des noms de Windows (boîtes de message, codes
// d'erreur, registre). Sous Windows ce sont celles de windows.h, des macros : les
// redéfinir casserait tout fichier qui l'inclut. Ailleurs, les nôtres, de mêmes valeurs.
// On les écrit donc toujours sans qualification (MB_OK, pas MB_OK).

#include <cstdint>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace emporteur {

// Code d'erreur Win32 ; 0 (ERROR_SUCCESS) : réussite.
using CodeWin32 = std::int32_t;
// Droits demandés à l'ouverture d'une clé.
using Acces = std::uint32_t;

#ifdef _WIN32

// Ruche : la poignée prédéfinie de Windows.
using Ruche = HKEY;

#else

// Mots de style des boîtes de message.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONASTERISK = 0x40;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
inline constexpr unsigned MB_TASKMODAL = 0x2000;
inline constexpr unsigned MB_SETFOREGROUND = 0x10000;
inline constexpr unsigned MB_TOPMOST = 0x40000;

// Identifiants des boutons de réponse.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDCLOSE = 8;
inline constexpr int IDHELP = 9;
inline constexpr int IDTRYAGAIN = 10;
inline constexpr int IDCONTINUE = 11;

// Codes d'erreur.
inline constexpr CodeWin32 ERROR_SUCCESS = 0;
inline constexpr CodeWin32 ERROR_FILE_NOT_FOUND = 2;
inline constexpr CodeWin32 ERROR_PATH_NOT_FOUND = 3;
inline constexpr CodeWin32 ERROR_ACCESS_DENIED = 5;
inline constexpr CodeWin32 ERROR_INVALID_HANDLE = 6;
inline constexpr CodeWin32 ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr CodeWin32 ERROR_INVALID_DATA = 13;
inline constexpr CodeWin32 ERROR_INVALID_PARAMETER = 87;
inline constexpr CodeWin32 ERROR_DISK_FULL = 112;
inline constexpr CodeWin32 ERROR_BAD_PATHNAME = 161;
inline constexpr CodeWin32 ERROR_BUSY = 170;
inline constexpr CodeWin32 ERROR_MORE_DATA = 234;
inline constexpr CodeWin32 ERROR_BADDB = 1009;
inline constexpr CodeWin32 ERROR_REGISTRY_IO_FAILED = 1016;
inline constexpr CodeWin32 ERROR_KEY_DELETED = 1018;

// Droits sur une clé.
inline constexpr Acces KEY_QUERY_VALUE = 0x0001;
inline constexpr Acces KEY_SET_VALUE = 0x0002;
inline constexpr Acces KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr Acces KEY_READ = 0x20019;
inline constexpr Acces KEY_WRITE = 0x20006;

// Types de valeurs.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;

// Ruches : l'utilisateur courant (lecture et écriture) et la machine (lecture seule).
enum class Ruche { Utilisateur, Machine };
inline constexpr Ruche HKEY_CURRENT_USER = Ruche::Utilisateur;
inline constexpr Ruche HKEY_LOCAL_MACHINE = Ruche::Machine;

#endif

} // namespace emporteur
