#include "cli/cli_command.h"
#include "cli/json_io.h"
#include "core/layout/layout_page.h"

namespace inkquot::cli {

int runFit(CommandContext& ctx) {
    const CommandInput input(ctx, "fit", "the sizes come");
    std::vector<LayoutPageResult> results;
    for (const auto& [where, object] : input.objects()) {
        JsonObjectReader reader(*object, where);
        // The boxes of the calculator take four digits for the sizes, the
        // spinner 0 to 10 for the trim and two digits for the gripper; the
        // tool accepts a wider gripper to try what no box can type.
        const auto page = static_cast<int>(reader.integerField("page", 0, kLayoutPageCount - 1));
        const auto a = static_cast<std::int32_t>(reader.integerField("a", 0, 9999));
        const auto b = static_cast<std::int32_t>(reader.integerField("b", 0, 9999));
        const auto trim = static_cast<std::int32_t>(reader.integerField("trim", 0, 10));
        const auto gripper = static_cast<std::int32_t>(reader.integerField("gripper", 0, 9999));
        reader.finish();
        results.push_back(runLayoutPage(page, a, b, trim, gripper));
    }

    writeAnswers(ctx.out, input.isBatch(), results, [](JsonWriter& out, const LayoutPageResult& r) {
        out.beginObject()
            .key("DuIndex")
            .integer(r.fit.DuIndex)
            .key("KaiShu")
            .integer(r.fit.KaiShu)
            .key("KaiZhiIndex")
            .integer(r.fit.KaiZhiIndex)
            .key("LiYongLv")
            .number(r.fit.LiYongLv)
            .key("comsuandu")
            .text(kSeriesItems[r.seriesIndex])
            .key("comsuankai")
            .text(r.kaiText)
            .key("comsuankaizhi")
            .text(kCutItems[r.cutIndex])
            .key("Labzzlyl")
            .text(r.utilisationText);
        if (r.unfit) {
            out.key("warning").text(kUnfitMessage);
        }
        out.endObject();
    });
    return 0;
}

}  // namespace inkquot::cli
