# Turns one help text of the form the programs print into man page markup:
#   Usage: PROGRAM [global options] COMMAND SYNOPSIS   (continued on lines indented by four)
#   paragraphs of text (indented lines are kept as they are laid out)
#   Options:
#     -o, --output FILE  text (continued on lines indented further)
# With -v options_only=1 every line is an option line or its continuation.

function escape(text) {
    gsub(/\\/, "\\\\e", text)
    gsub(/-/, "\\\\-", text)
    if (text ~ /^[.']/)
        text = "\\&" text
    return text
}

# "-o, --output FILE": the option names bold, the placeholder as it is.
function term(text,    count, parts, i, word, comma, out) {
    count = split(text, parts, " ")
    for (i = 1; i <= count; i++) {
        word = parts[i]
        comma = sub(/,$/, "", word) ? "," : ""
        word = word ~ /^-/ ? "\\fB" escape(word) "\\fR" : escape(word)
        out = out (i > 1 ? " " : "") word comma
    }
    return out
}

function end_layout() {
    if (laid_out) print ".fi"
    laid_out = 0
}

# A paragraph break is written only when more text follows it.
function text_line(text) {
    if (paragraph_ends) print ".PP"
    paragraph_ends = 0
    print text
}

# "Usage: vormexctl [global options] get system|initial [-o FILE]": a subsection named after the
# command, then the command line, its words never hyphenated (\%).
function usage_line(text,    name) {
    sub(/^Usage: +[^ ]+ +/, "", text)
    sub(/^\[global options\] */, "", text)
    name = text
    sub(/ .*/, "", name)
    print ".SS " escape(name)
    text = escape("[global options] " text)
    gsub(/ /, " \\%", text)
    printf ".B %s\n\\%%%s\n", escape(program), text
}

BEGIN { mode = options_only ? "options" : "usage"; usage = "" }

mode == "usage" {
    if ($0 == "") { usage_line(usage); mode = "text"; paragraph_ends = 1; next }
    line = $0
    sub(/^ +/, "", line)
    usage = usage (usage == "" ? "" : " ") line
    next
}

/^Options:$/ { end_layout(); mode = "options"; next }

mode == "text" && /^$/ { end_layout(); paragraph_ends = 1; next }
mode == "text" && /^ / { if (!laid_out) text_line(".nf"); laid_out = 1; print escape($0); next }
mode == "text" { end_layout(); text_line(escape($0)); next }

mode == "options" && /^ +-/ {
    line = $0
    sub(/^ +/, "", line)
    description = ""
    if (match(line, /  +/)) {
        description = substr(line, RSTART + RLENGTH)
        line = substr(line, 1, RSTART - 1)
    }
    print ".TP"
    print term(line)
    if (description != "") print escape(description)
    next
}
mode == "options" && /^ +[^ ]/ { line = $0; sub(/^ +/, "", line); print escape(line); next }

END {
    if (mode == "usage" && usage != "") usage_line(usage)
    end_layout()
}
