// The page's looks: its style sheet, light and dark, on screen and on A4,
// and the patterns that tell the stop modes apart without colour.
#include <array>
#include <string_view>

#include "chart/page_context.h"

namespace fxt::chart {
namespace {

// Each colour for a light and for a dark page: the page follows the
// reader's preference, VS Code's theme in its webview, and prints light.
constexpr std::string_view kColours =
    ":root{color-scheme:light dark;"
    "--bg:light-dark(#fff,#0d1117);--fg:light-dark(#1f2328,#e6edf3);"
    "--muted:light-dark(#59636e,#9198a1);--line:light-dark(#d1d9e0,#3d444d);"
    "--cell:light-dark(#f6f8fa,#161b22);--link:light-dark(#0969da,#4493f8);"
    "--error:light-dark(#cf222e,#f85149);--error-bg:light-dark(#ffebe9,#3c1618);"
    "--warning:light-dark(#9a6700,#d29922);--intensity:light-dark(#d4a72c,#e3b341);"
    "--m0:light-dark(#4e79a7,#79a6d6);--m1:light-dark(#e8710a,#f5a35c);"
    "--m2:light-dark(#3b8e3b,#6cc16c);--m3:light-dark(#9c5fa0,#c992cc);"
    "--m4:light-dark(#d03b4b,#f07a86);--m5:light-dark(#1b8a8a,#5cc6c6);"
    "--m6:light-dark(#8c6239,#c49a6c)}\n"
    "body.vscode-light{color-scheme:light}body.vscode-dark,body.vscode-high-contrast{color-scheme:"
    "dark}\n"
    "@media print{:root,body{color-scheme:light}}\n";

// Everything but the colours, which the themes above give.
constexpr std::string_view kRules = R"css(*{box-sizing:border-box}
body{margin:0 auto;max-width:1320px;padding:16px 20px;background:var(--bg);color:var(--fg);font:15px/1.45 system-ui,"Segoe UI",Roboto,"DejaVu Sans",sans-serif}
h1{font-size:1.6em;margin:.2em 0}h2{font-size:1.25em;margin:1.5em 0 .5em;border-bottom:1px solid var(--line)}h3{font-size:1.05em;margin:0;display:inline}
a{color:var(--link)}code{font-family:ui-monospace,"DejaVu Sans Mono",monospace;font-size:.92em}
.facts{display:grid;grid-template-columns:max-content 1fr;gap:2px 16px;margin:.5em 0}.facts dt{color:var(--muted)}.facts dd{margin:0}
.banner{border:2px solid var(--error);background:var(--error-bg);padding:10px 14px;border-radius:6px;margin:12px 0}
.sev{font-weight:600}.error,.error .sev{color:var(--error)}.warning,.warning .sev{color:var(--warning)}
.diagnostics li{margin:2px 0}.diagnostics ul{margin:0;color:var(--muted)}
.problems{margin:.3em 0 .6em;padding-left:1.4em}.notes{margin:.3em 0;padding-left:1.4em;color:var(--muted)}
svg.chart{display:block;width:100%;height:auto;margin:.4em 0}svg text{fill:var(--fg);font-size:14px}
.defs{position:absolute;width:0;height:0;overflow:hidden}
.cell{fill:var(--cell);stroke:var(--line);stroke-width:1.5}.free{fill:none;stroke-dasharray:4 3}
.beyond{stroke:var(--warning);stroke-dasharray:6 3}.warn{stroke:var(--warning);stroke-width:3}
.clash{fill:url(#pe);stroke:var(--error);stroke-width:3}.int{fill:var(--intensity)}
svg .ch{font-size:12px;fill:var(--muted)}svg .sub{font-size:11px;fill:var(--muted)}svg .name{text-anchor:middle;font-weight:600}
svg .sub{text-anchor:middle}.bracket{fill:none;stroke:var(--fg);stroke-width:2}
.hit{fill:none;stroke:none}.hit:target,g:target>.cell{stroke:var(--link);stroke-width:5}
.lane{fill:url(#grid);stroke:var(--line)}.lane-line{fill:var(--line)}.lane-bg{fill:var(--bg)}
.tick{font-size:11px;fill:var(--muted);text-anchor:middle}
.home{fill:var(--fg);stroke:var(--fg);stroke-width:1.5}
.gap{stroke:var(--muted);stroke-width:3;stroke-dasharray:3 4;fill:none}.overlap{stroke:var(--error);stroke-width:5;fill:none}
.stop rect{stroke-width:1.5;width:100%;height:100%}.stop:target rect{stroke:var(--link);stroke-width:5}
.stop text{transform:translate(4px,14px);font-size:13px;paint-order:stroke;stroke:var(--bg);stroke-width:3px;stroke-linejoin:round}
.m0 rect{fill:var(--m0);stroke:var(--m0)}.m1 rect{fill:url(#p1);stroke:var(--m1)}.m2 rect{fill:url(#p2);stroke:var(--m2)}
.m3 rect{fill:url(#p3);stroke:var(--m3)}.m4 rect{fill:url(#p4);stroke:var(--m4)}.m5 rect{fill:url(#p5);stroke:var(--m5)}
.m6 rect{fill:url(#p6);stroke:var(--m6)}.mx rect{fill:url(#pe);stroke:var(--error)}
.rev rect{stroke:var(--error);stroke-dasharray:6 3}
.f0{fill:var(--m0)}.f1{fill:var(--m1)}.f2{fill:var(--m2)}.f3{fill:var(--m3)}.f4{fill:var(--m4)}.f5{fill:var(--m5)}.f6{fill:var(--m6)}.fe{fill:var(--error)}
.t1{fill:color-mix(in srgb,var(--m1) 22%,var(--bg))}.t2{fill:color-mix(in srgb,var(--m2) 22%,var(--bg))}
.t3{fill:color-mix(in srgb,var(--m3) 22%,var(--bg))}.t4{fill:color-mix(in srgb,var(--m4) 22%,var(--bg))}
.t5{fill:color-mix(in srgb,var(--m5) 22%,var(--bg))}.t6{fill:color-mix(in srgb,var(--m6) 22%,var(--bg))}
.te{fill:var(--error-bg)}.s4{stroke:var(--m4);stroke-width:2}
figure{margin:1.4em 0;break-inside:avoid}figcaption{margin-bottom:.2em}
table{border-collapse:collapse;margin:.4em 0 1em;font-size:13px}caption{text-align:left;font-weight:600;padding:2px 0}
th,td{border:1px solid var(--line);padding:2px 6px;text-align:left;vertical-align:top}th{background:var(--cell)}
td{font-variant-numeric:tabular-nums}td span{white-space:nowrap}
tr:target,li:target,section:target{outline:3px solid var(--link)}
@page{size:A4;margin:12mm}
@media print{body{max-width:none;padding:0;font-size:10pt}a{color:inherit;text-decoration:none}h2{break-after:avoid}tr{break-inside:avoid}}
)css";

constexpr std::string_view kPatterns =
    R"svg(<svg class="defs" width="0" height="0" aria-hidden="true"><defs>
<pattern id="p1" width="8" height="8" patternUnits="userSpaceOnUse"><rect width="8" height="8" class="t1"/><rect width="3" height="8" class="f1"/></pattern>
<pattern id="p2" width="8" height="8" patternUnits="userSpaceOnUse" patternTransform="rotate(45)"><rect width="8" height="8" class="t2"/><rect width="3" height="8" class="f2"/></pattern>
<pattern id="p3" width="8" height="8" patternUnits="userSpaceOnUse"><rect width="8" height="8" class="t3"/><circle cx="4" cy="4" r="2.2" class="f3"/></pattern>
<pattern id="p4" width="8" height="8" patternUnits="userSpaceOnUse"><rect width="8" height="8" class="t4"/><path d="M0,4H8M4,0V8" class="s4"/></pattern>
<pattern id="p5" width="8" height="8" patternUnits="userSpaceOnUse"><rect width="8" height="8" class="t5"/><rect width="8" height="3" class="f5"/></pattern>
<pattern id="p6" width="6" height="6" patternUnits="userSpaceOnUse" patternTransform="rotate(-45)"><rect width="6" height="6" class="t6"/><rect width="2" height="6" class="f6"/></pattern>
<pattern id="pe" width="8" height="8" patternUnits="userSpaceOnUse" patternTransform="rotate(45)"><rect width="8" height="8" class="te"/><rect width="2" height="8" class="fe"/></pattern>
<pattern id="grid" x="248" width="128" height="8" patternUnits="userSpaceOnUse"><rect width="128" height="8" class="lane-bg"/><rect width="1" height="8" class="lane-line"/></pattern>
)svg";

// The values written under a lane: every eighth of the scale, and its top.
void WriteAxis(Html& html, std::string_view id, int32_t step, int32_t top, int32_t unitsPerStep) {
  html << "<g id=\"" << id << "\">";
  for (int32_t i = 0; i <= 8; ++i) {
    const int32_t value = i == 8 ? top : i * step;
    html << "<text class=\"tick\" x=\"" << 248 + i * unitsPerStep << "\" y=\"12\">" << value
         << "</text>";
  }
  html << "</g>\n";
}

}  // namespace

void WriteStyle(Html& html) { html << "<style>\n" << kColours << kRules << "</style>\n"; }

void WritePatterns(Html& html) {
  html << kPatterns;
  WriteAxis(html, "ax8", 32, UINT8_MAX, 128);
  WriteAxis(html, "ax16", 8192, UINT16_MAX, 128);
  html << "</defs></svg>\n";
}

}  // namespace fxt::chart
