// Datagrams between the program and the decoder helper, and pictures handed
// over as shared memory.
#include "pictures/DecoderChannel.h"

#include "pictures/PixelMemory.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cw::decoder {

namespace {

// A payload up to this size travels in the datagram itself; a larger one in
// a memfd, so no message depends on the socket's buffer size.
constexpr qsizetype kInlineBytes = 60 * 1024;

enum : char { kInline = 0, kInMemory = 1 };

int memfdWith(const char *data, size_t bytes)
{
    const int fd = memfd_create("decoder-message", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return -1;
    size_t done = 0;
    while (done < bytes) {
        const ssize_t n = write(fd, data + done, bytes - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            close(fd);
            return -1;
        }
        done += size_t(n);
    }
    return fd;
}

// Seals the memfd against shrinking (so a mapping of it can never fault)
// and tells its size; -1 when it cannot be sealed.
qint64 sealedSize(int fd)
{
    fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW);
    const int seals = fcntl(fd, F_GET_SEALS);
    struct stat st;
    if (seals < 0 || !(seals & F_SEAL_SHRINK) || fstat(fd, &st) != 0)
        return -1;
    return qint64(st.st_size);
}

void releaseMapping(void *info)
{
    const auto *m = static_cast<const std::pair<void *, size_t> *>(info);
    munmap(m->first, m->second);
    delete m;
}

} // namespace

bool sendMessage(int socket, const QByteArray &payload, int fd)
{
    QByteArray body;
    int fds[2] = { -1, fd };
    int payloadFd = -1;
    if (payload.size() <= kInlineBytes) {
        body.reserve(payload.size() + 1);
        body.append(kInline);
        body.append(payload);
    } else {
        payloadFd = memfdWith(payload.constData(), size_t(payload.size()));
        if (payloadFd < 0)
            return false;
        fds[0] = payloadFd;
        body.append(kInMemory);
    }
    const int *passed = fds[0] >= 0 ? fds : fds + 1;
    const int count = (fds[0] >= 0 ? 1 : 0) + (fd >= 0 ? 1 : 0);

    iovec iov { body.data(), size_t(body.size()) };
    alignas(cmsghdr) char control[CMSG_SPACE(2 * sizeof(int))];
    msghdr msg {};
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    if (count > 0) {
        msg.msg_control = control;
        msg.msg_controllen = CMSG_SPACE(size_t(count) * sizeof(int));
        cmsghdr *c = CMSG_FIRSTHDR(&msg);
        c->cmsg_level = SOL_SOCKET;
        c->cmsg_type = SCM_RIGHTS;
        c->cmsg_len = CMSG_LEN(size_t(count) * sizeof(int));
        std::memcpy(CMSG_DATA(c), passed, size_t(count) * sizeof(int));
    }
    ssize_t n;
    do
        n = sendmsg(socket, &msg, MSG_NOSIGNAL);
    while (n < 0 && errno == EINTR);
    if (payloadFd >= 0)
        close(payloadFd);
    return n == ssize_t(body.size());
}

Received receiveMessage(int socket, Message &message)
{
    message = Message();
    QByteArray body(kInlineBytes + 1, Qt::Uninitialized);
    iovec iov { body.data(), size_t(body.size()) };
    alignas(cmsghdr) char control[CMSG_SPACE(4 * sizeof(int))];
    msghdr msg {};
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    ssize_t n;
    do
        n = recvmsg(socket, &msg, MSG_CMSG_CLOEXEC);
    while (n < 0 && errno == EINTR);
    if (n == 0)
        return Received::Closed;
    if (n < 0)
        return Received::Failed;
    int fds[4];
    int count = 0;
    for (cmsghdr *c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
        if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_RIGHTS)
            continue;
        const int here = int((c->cmsg_len - CMSG_LEN(0)) / sizeof(int));
        for (int i = 0; i < here; ++i) {
            int f;
            std::memcpy(&f, CMSG_DATA(c) + size_t(i) * sizeof(int), sizeof f);
            if (count < 4)
                fds[count++] = f;
            else
                close(f);
        }
    }
    auto closeAll = [&] {
        for (int i = 0; i < count; ++i)
            close(fds[i]);
    };
    if ((msg.msg_flags & (MSG_TRUNC | MSG_CTRUNC)) || n < 1) {
        closeAll();
        return Received::Failed;
    }
    int next = 0;
    if (body[0] == kInline) {
        message.payload = body.mid(1, n - 1);
    } else if (body[0] == kInMemory && count >= 1) {
        const int payloadFd = fds[next++];
        const qint64 size = sealedSize(payloadFd);
        bool ok = size >= 0 && size < (qint64(1) << 31);
        if (ok) {
            message.payload.resize(qsizetype(size));
            ok = pread(payloadFd, message.payload.data(), size_t(size), 0) == ssize_t(size);
        }
        close(payloadFd);
        if (!ok) {
            for (int i = next; i < count; ++i)
                close(fds[i]);
            return Received::Failed;
        }
    } else {
        closeAll();
        return Received::Failed;
    }
    if (next < count)
        message.fd = fds[next++];
    for (int i = next; i < count; ++i)
        close(fds[i]);
    return Received::Ok;
}

void writeImage(QDataStream &out, const QImage &image, int &fd, bool &owned)
{
    fd = -1;
    owned = false;
    out << qint32(image.width()) << qint32(image.height()) << qint32(image.format())
        << qint64(image.bytesPerLine()) << qint32(image.dotsPerMeterX())
        << qint32(image.dotsPerMeterY()) << image.colorTable();
    if (image.isNull())
        return;
    const size_t bytes = size_t(image.sizeInBytes());
    size_t mapped = 0;
    const int shared = sharedPixelBlockFd(image.constBits(), &mapped);
    if (shared >= 0 && mapped >= bytes) {
        fd = shared;
        return;
    }
    fd = memfdWith(reinterpret_cast<const char *>(image.constBits()), bytes);
    owned = fd >= 0;
}

QImage readImage(QDataStream &in, int fd)
{
    qint32 width = 0, height = 0, format = 0, dpmX = 0, dpmY = 0;
    qint64 bytesPerLine = 0;
    QList<QRgb> colors;
    in >> width >> height >> format >> bytesPerLine >> dpmX >> dpmY >> colors;
    auto fail = [fd] {
        if (fd >= 0)
            close(fd);
        return QImage();
    };
    if (in.status() != QDataStream::Ok || fd < 0 || width <= 0 || height <= 0
        || format <= QImage::Format_Invalid || format >= QImage::NImageFormats)
        return fail();
    const auto fmt = QImage::Format(format);
    const int depth = QImage::toPixelFormat(fmt).bitsPerPixel();
    const qint64 minLine = (qint64(width) * depth + 7) / 8;
    if (bytesPerLine < minLine || bytesPerLine % 4 != 0
        || bytesPerLine > std::numeric_limits<qint64>::max() / height)
        return fail();
    const qint64 bytes = bytesPerLine * height;
    const qint64 size = sealedSize(fd);
    if (size < bytes)
        return fail();
    // A private mapping: the program's writes stay its own.
    // Populated at once: one call instead of a fault for every page.
    void *p
        = mmap(nullptr, size_t(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    close(fd);
    if (p == MAP_FAILED)
        return QImage();
    auto *mapping = new std::pair<void *, size_t>(p, size_t(bytes));
    QImage image(static_cast<uchar *>(p), width, height, qsizetype(bytesPerLine), fmt,
        releaseMapping, mapping);
    if (image.isNull()) {
        releaseMapping(mapping);
        return QImage();
    }
    if (!colors.isEmpty())
        image.setColorTable(colors);
    image.setDotsPerMeterX(dpmX);
    image.setDotsPerMeterY(dpmY);
    return image;
}

} // namespace cw::decoder
