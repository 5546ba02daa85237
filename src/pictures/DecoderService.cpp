// The decoder helper's side: every request runs the program's own
// in-process code (the module host, the picture dialog's readers) and the
// answer goes back with the picture in shared memory.
#include "pictures/DecoderService.h"

#include "pictures/DecoderChannel.h"
#include "pictures/DecoderFence.h"
#include "pictures/PictureLoading.h"
#include "pictures/PictureThumbnail.h"
#include "pictures/PixelMemory.h"
#include "pictures/SusieHost.h"

#include <malloc.h>
#include <unistd.h>

namespace cw {

using decoder::Op;

namespace {

// Sends the reply, with the picture's memory when there is a picture.
bool replyWithImage(int socket, QByteArray payload, const QImage &image)
{
    int fd = -1;
    bool owned = false;
    {
        QDataStream out(&payload, QIODevice::Append);
        decoder::writeImage(out, image, fd, owned);
    }
    const bool sent = decoder::sendMessage(socket, payload, fd);
    if (owned)
        close(fd);
    return sent;
}

bool serve(int socket, const decoder::Message &message)
{
    QDataStream in(message.payload);
    qint32 op = 0;
    in >> op;
    QByteArray reply;
    QDataStream out(&reply, QIODevice::WriteOnly);
    out << op;
    SusieHost &host = SusieHost::instance();
    switch (Op(op)) {
    case Op::Load: {
        QString folder;
        qint32 when = 0;
        QStringList leftOut;
        in >> folder >> when >> leftOut;
        host.setLeftOut(leftOut);
        host.load(folder,
            when == qint32(ModuleLoading::OnDemand) ? ModuleLoading::OnDemand
                                                    : ModuleLoading::AtOnce);
        break;
    }
    case Op::Unload:
        host.unload();
        break;
    case Op::Filter:
        out << host.filter();
        break;
    case Op::ModuleNames:
        out << host.moduleNames();
        break;
    case Op::ModuleCount:
        out << qint32(host.moduleCount());
        break;
    case Op::LoadedCount:
        out << qint32(host.loadedModuleCount());
        break;
    case Op::Decode: {
        QString fileName;
        QSize wanted;
        qint32 kind = 0;
        in >> fileName >> wanted >> kind;
        QImage image;
        PictureFailure failure = PictureFailure::Unsupported;
        PictureReduction reduction;
        const bool ok = host.decodeImage(fileName, image, &failure, wanted, &reduction,
            kind == qint32(ReductionKind::Sample) ? ReductionKind::Sample : ReductionKind::Average);
        if (ok && !reduction.fullSize.isValid())
            reduction.fullSize = image.size();
        out << ok << qint32(failure) << reduction.fullSize << qint32(reduction.factor);
        return replyWithImage(socket, reply, ok ? image : QImage());
    }
    case Op::Convert: {
        QString fileName;
        in >> fileName;
        QByteArray bmp;
        PictureFailure failure = PictureFailure::Unsupported;
        const bool ok = host.convert(fileName, bmp, &failure);
        out << ok << qint32(failure) << bmp;
        break;
    }
    case Op::Thumbnail: {
        QString fileName;
        QSize box;
        in >> fileName >> box;
        const PictureThumbnail t = loadPictureThumbnail(fileName, box);
        out << t.valid << t.fullSize;
        return replyWithImage(socket, reply, t.valid ? t.image : QImage());
    }
    case Op::Whole: {
        QString fileName;
        in >> fileName;
        return replyWithImage(socket, reply, loadPictureWhole(fileName));
    }
    default:
        break; // an unknown request gets its own number back
    }
    return decoder::sendMessage(socket, reply);
}

} // namespace

int runDecoderService(int socket, int pictureLimitMb)
{
    setDecoderPlacement(DecoderPlacement::InProcess);
    setPictureAllocationLimitMb(pictureLimitMb);
    // Decoded pictures in shared memory, handed over without a copy.
    setSharedPixelBlocks(true);
    // One malloc arena: every further arena reserves 64 MB of address space.
    mallopt(M_ARENA_MAX, 1);
    const DecoderFenceReport fence = applyDecoderFence(pictureLimitMb, socket);
    // The program hears of every module before it loads, so that one which
    // takes the helper down can be left out of the next helper.
    SusieHost::instance().setLoadingObserver([socket](const QString &path) {
        QByteArray note;
        QDataStream out(&note, QIODevice::WriteOnly);
        out << qint32(Op::Loading) << path;
        decoder::sendMessage(socket, note);
    });

    QByteArray hello;
    {
        QDataStream out(&hello, QIODevice::WriteOnly);
        out << qint32(Op::Hello) << quint64(processResidentBytes(QStringLiteral("self")))
            << fence.noNewPrivileges << fence.addressSpaceLimited << fence.systemCallFilter
            << quint64(fence.addressSpaceBytes);
    }
    if (!decoder::sendMessage(socket, hello))
        return 1;
    for (;;) {
        decoder::Message message;
        const decoder::Received got = decoder::receiveMessage(socket, message);
        if (got != decoder::Received::Ok)
            return got == decoder::Received::Closed ? 0 : 1;
        if (message.fd >= 0)
            close(message.fd);
        if (!serve(socket, message))
            return 1;
    }
}

} // namespace cw
