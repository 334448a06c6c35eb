// What goes over the loader's gamma socket ("Orvana.Tonewatch.gamma" beside
// its control socket), on a wlroots desktop where the loader holds the
// outputs' gamma controls. Both programs include this file, so that the two
// ends cannot drift apart.
//
// A client sends one request and reads its answer before the next. Requests:
//   'S' output: the output's table size, asking the compositor again for a
//       control it refused or took away;
//   'T' output, a table's file attached: shows the table (red, green, blue,
//       the output's size each, 16-bit entries) and keeps the file;
//   'G' output: the file of the table last shown, attached when there is one;
//   'R': lets go of every output for this connection's calibration session,
//       until the connection closes; the loader then takes them back and
//       loads the stored curves.
#pragma once

#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

constexpr char GammaSocketName[] = "Orvana.Tonewatch.gamma";
constexpr int GammaOutputNameSize = 60;

// An output the compositor gives no name (wl_output before version 4) goes
// by its global's number, "WL-<global>", on both ends of the socket.
inline void UnnamedOutputName(uint32_t global, char* name, size_t size) {
  snprintf(name, size, "WL-%u", static_cast<unsigned>(global));
}

struct TGammaRequest {
  char Kind;
  char Output[GammaOutputNameSize];
};

enum TGammaStatus : int32_t {
  GammaHeld = 0,       // Size entries per channel
  GammaRefused = 1,    // the compositor refused the control
  GammaTakenAway = 2,  // another program took the control over
  GammaGone = 3,       // no such output
  GammaEditing = 4,    // let go for a calibration session
};

struct TGammaAnswer {
  int32_t Status;
  uint32_t Size;
};

// Sends `record` with `file` attached when it is not -1. True when all of
// the record went.
inline bool SendWithFile(int socket, const void* record, size_t size, int file) {
  iovec bytes = {const_cast<void*>(record), size};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  msghdr message = {};
  message.msg_iov = &bytes;
  message.msg_iovlen = 1;
  if (file >= 0) {
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* attached = CMSG_FIRSTHDR(&message);
    attached->cmsg_level = SOL_SOCKET;
    attached->cmsg_type = SCM_RIGHTS;
    attached->cmsg_len = CMSG_LEN(sizeof file);
    memcpy(CMSG_DATA(attached), &file, sizeof file);
  }
  return sendmsg(socket, &message, MSG_NOSIGNAL | MSG_DONTWAIT) == static_cast<ssize_t>(size);
}

// Reads one record into `record`, with the file attached to it (-1 when
// none). True when a whole record came; a file that came with less is closed,
// and so is every file past the first: a peer may attach several, and each
// would stay open here for good.
inline bool ReceiveWithFile(int socket, void* record, size_t size, int& file) {
  // Room for a few: the kernel drops, and closes, whatever does not fit.
  constexpr size_t MostFilesRead = 4;
  file = -1;
  iovec bytes = {record, size};
  alignas(cmsghdr) char control[CMSG_SPACE(MostFilesRead * sizeof(int))] = {};
  msghdr message = {};
  message.msg_iov = &bytes;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t count = recvmsg(socket, &message, MSG_CMSG_CLOEXEC);
  for (cmsghdr* attached = count > 0 ? CMSG_FIRSTHDR(&message) : nullptr; attached != nullptr;
       attached = CMSG_NXTHDR(&message, attached)) {
    if (attached->cmsg_level != SOL_SOCKET || attached->cmsg_type != SCM_RIGHTS) continue;
    const size_t files = (attached->cmsg_len - CMSG_LEN(0)) / sizeof(int);
    for (size_t i = 0; i < files; ++i) {
      int received;
      memcpy(&received, CMSG_DATA(attached) + i * sizeof(int), sizeof received);
      if (file < 0) file = received;
      else close(received);
    }
  }
  if (count == static_cast<ssize_t>(size)) return true;
  if (file >= 0) close(file);
  file = -1;
  return false;
}
