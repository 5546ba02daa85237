#pragma once

// The messages between the program and its decoder helper: datagrams on a
// socket pair, each a payload and at most one memfd (a decoded picture, or
// a payload too large for one datagram).
#include <QByteArray>
#include <QDataStream>
#include <QImage>

namespace cw::decoder {

// What the program asks of the helper; the helper answers every request
// with one message.
enum class Op : qint32 {
    Hello = 1, // the helper's first message: its size after start-up
    Load, // folder, loading mode
    Unload,
    Filter,
    ModuleNames,
    ModuleCount,
    LoadedCount,
    Decode, // file, wanted size, reduction kind -> picture (reduced when a size is wanted)
            // or failure
    Convert, // file -> BMP image or failure
    Thumbnail, // file, box -> full size, thumbnail
    Whole, // file -> picture (the preview window)
    OutOfMemory, // sent by a helper that dies at its memory limit
    Loading, // sent by the helper before it loads a module: the module's path
};

// A message received: its payload and the memfd that came with it (owned
// by the receiver, -1 when none).
struct Message
{
    QByteArray payload;
    int fd = -1;
};

// Sends one message; `fd` (may be -1) is passed as a copy, the caller keeps
// its own. False when the other side is gone.
bool sendMessage(int socket, const QByteArray &payload, int fd = -1);

enum class Received { Ok, Closed, Failed };
// Receives one message (blocking).
Received receiveMessage(int socket, Message &message);

// The picture's form and, in `fd`, a memfd holding its pixel rows: the
// block the picture already lives in when it is shared memory (`owned`
// false: it goes with the picture), else a new memfd with a copy (`owned`
// true: the caller closes it). Null pictures write only their form.
void writeImage(QDataStream &out, const QImage &image, int &fd, bool &owned);
// The picture written by writeImage, mapped from `fd` (which it takes).
// Null when the form and the memory do not match.
QImage readImage(QDataStream &in, int fd);

} // namespace cw::decoder
