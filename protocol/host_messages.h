#pragma once
// The player's window-message interface: message numbers, request numbers and command
// identifiers.

#include <cstdint>

namespace hostmsg {

// Messages
inline constexpr std::uint32_t WM_HOST_USER = 1024;  // user message: data first, request last
inline constexpr std::uint32_t WM_COPYDATA = 74;
inline constexpr std::uint32_t WM_COMMAND = 273;  // command identifier first, 0 last

// Requests of the user message
inline constexpr std::int32_t IPC_GETVERSION = 0;
inline constexpr std::int32_t IPC_PLAYFILE = 100;  // copy-data
inline constexpr std::int32_t IPC_DELETE = 101;
inline constexpr std::int32_t IPC_CHDIR = 103;  // copy-data
inline constexpr std::int32_t IPC_ISPLAYING = 104;
inline constexpr std::int32_t IPC_GETOUTPUTTIME = 105;
inline constexpr std::int32_t IPC_JUMPTOTIME = 106;
inline constexpr std::int32_t IPC_SETPLAYLISTPOS = 121;
inline constexpr std::int32_t IPC_SETVOLUME = 122;
inline constexpr std::int32_t IPC_GETLISTLENGTH = 124;
inline constexpr std::int32_t IPC_GETLISTPOS = 125;
inline constexpr std::int32_t IPC_GETINFO = 126;
inline constexpr std::int32_t IPC_GETEQDATA = 127;
inline constexpr std::int32_t IPC_SETEQDATA = 128;
inline constexpr std::int32_t IPC_RESTARTWINAMP = 135;
inline constexpr std::int32_t IPC_GETPLAYLISTFILE = 211;
inline constexpr std::int32_t IPC_GETPLAYLISTTITLE = 212;
inline constexpr std::int32_t IPC_INETAVAILABLE = 242;
inline constexpr std::int32_t IPC_UPDTITLE = 243;
inline constexpr std::int32_t IPC_REFRESHPLCACHE = 247;
inline constexpr std::int32_t IPC_GET_SHUFFLE = 250;
inline constexpr std::int32_t IPC_GET_REPEAT = 251;
inline constexpr std::int32_t IPC_SET_SHUFFLE = 252;
inline constexpr std::int32_t IPC_SET_REPEAT = 253;  // answered by playersim; no command sends it
inline constexpr std::int32_t IPC_GETINIFILE = 334;

// The volume request's "read the current volume" value
inline constexpr std::int32_t kVolumeQuery = -666;

// Command identifiers of the command message
inline constexpr std::int32_t ID_PREV = 40044;
inline constexpr std::int32_t ID_PLAY = 40045;
inline constexpr std::int32_t ID_PAUSE = 40046;
inline constexpr std::int32_t ID_STOP = 40047;
inline constexpr std::int32_t ID_NEXT = 40048;
inline constexpr std::int32_t ID_VOLUMEUP = 40058;
inline constexpr std::int32_t ID_VOLUMEDOWN = 40059;
inline constexpr std::int32_t ID_FADEOUTANDSTOP = 40147;
inline constexpr std::int32_t ID_EXEC_VISUAL = 40192;

// The playlist window and its delete request (first argument; the index is the last)
inline constexpr const char* kPlaylistClass = "Winamp PE";
inline constexpr std::int32_t PLAYLIST_DELETE_ENTRY = 104;

// The SHOUTcast source window, its connect button and its status line
inline constexpr const char* kShoutcastTitle = "SHOUTcast source";
inline constexpr std::int32_t ID_SHOUTCAST_CONNECT = 1008;
inline constexpr std::int32_t ID_SHOUTCAST_STATUS = 1000;

// Text lengths read from windows (buffer sizes, the closing zero byte included)
inline constexpr int kTitleBuffer = 2048;
inline constexpr int kShoutcastBuffer = 256;

}  // namespace hostmsg
