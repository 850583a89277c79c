// Printer replies: answer frames (whole and in pieces) and the read-back unframing.
#include "comm/AnswerFrame.h"
#include "comm/ParameterReadBack.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    int whole = vormex::kNoAnswer;
    vormex::ParseAnswers(bytes, whole);

    // Fed in pieces, the assembler must find at least what one read finds.
    vormex::AnswerAssembler assembler;
    int pieced = vormex::kNoAnswer;
    const qsizetype cut = size > 0 ? data[0] % (size + 1) : 0;
    assembler.feed(bytes.left(cut), pieced);
    assembler.feed(bytes.mid(cut), pieced);
    if (whole != vormex::kNoAnswer && pieced == vormex::kNoAnswer)
        __builtin_trap();

    vormex::UnframeParameterReply(bytes, true, "QUILLPRM.TXT");
    vormex::UnframeParameterReply(bytes, false);
    return 0;
}
