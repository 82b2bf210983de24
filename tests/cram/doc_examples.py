#!/usr/bin/env python3
"""Runs every tarvexcli and tarvex-host example of README.md and docs/*.md with cram.

usage: doc_examples.py SOURCE_DIR OUT_DIR CRAM

An example is
  - a line of a fenced block that starts with tarvexcli or tarvex-host
    (also as build/bin/...), unless it shows a synopsis ('[' or '<' in it);
  - a list item "- `tarvexcli ...`: what it does", the form of the examples
    in docs/commands.md.
The manual pages in $TARVEX_MAN_DIR (the build's) add the lines of their
example blocks (.EX to .EE), roff escapes undone.
docs/commands.md holds the examples of every command's --help (the test
release.reference_up_to_date keeps it so). Each example gets a cram
transcript of its own, hence a fresh default store.
A block after "<!-- example: sequence -->" runs as one transcript, every
line of it in order. "<!-- example output: COMMAND -->" before a fenced
block says the block is what the last COMMAND of the preceding example
prints: a last line "..." stands for more lines, and a UTC timestamp matches
any. The output of examples that show none is not compared, but any error
message or non-zero exit status fails the transcript. "/tmp/" in a command
is cram's private temporary directory, so that runs never share a store.
"""

import os
import re
import subprocess
import sys

PROGRAM = re.compile(r"(build/bin/)?(tarvexcli|tarvex-host)(\s|$)")
LIST_ITEM = re.compile(r"^- `((tarvexcli|tarvex-host) [^`]*)`: ")
MARKER = re.compile(r"^<!-- example( output)?: (.*) -->$")
TIMESTAMP = re.compile(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ")
MUST_HAVE_EXAMPLES = ["README.md", "commands.md", "tarvexcli.1", "tarvex-host.1"]


class Example:
    def __init__(self, doc, line, lines):
        self.doc, self.line, self.lines = doc, line, lines
        self.outputs = {}  # index into lines -> expected output lines


def examples_of(doc, text):
    """The examples of one markdown file, in order."""
    examples, fence, sequence, output_of = [], None, False, None
    for number, line in enumerate(text.splitlines(), 1):
        if fence is not None:
            if line.startswith("```"):
                if output_of is not None:
                    attach_output(doc, examples, output_of, fence)
                elif sequence:
                    examples.append(Example(doc, start, [l for l in fence if l.strip()]))
                fence, sequence, output_of = None, False, None
            elif output_of is not None or sequence:
                fence.append(line)
            elif PROGRAM.match(line) and not re.search(r"[\[<]", line):
                examples.append(Example(doc, number, [line]))
            continue
        marker = MARKER.match(line)
        if marker and marker.group(1):
            output_of = marker.group(2)
        elif marker:
            if marker.group(2) != "sequence":
                sys.exit(f"{doc}:{number}: unknown marker '{line}'")
            sequence = True
        elif line.startswith("```"):
            fence, start = [], number
        elif LIST_ITEM.match(line):
            examples.append(Example(doc, number, [LIST_ITEM.match(line).group(1)]))
    return examples


def man_examples_of(doc, text):
    """The examples of one manual page: each line of an .EX block."""
    examples, inside = [], False
    for number, line in enumerate(text.splitlines(), 1):
        if line in (".EX", ".EE"):
            inside = line == ".EX"
        elif inside:
            plain = line.replace("\\-", "-").replace("\\&", "").replace("\\e", "\\")
            if PROGRAM.match(plain):
                examples.append(Example(doc, number, [plain]))
    return examples


def attach_output(doc, examples, command, output):
    """Makes OUTPUT the expected output of the last COMMAND of the last example."""
    if examples:
        example = examples[-1]
        for index in reversed(range(len(example.lines))):
            if example.lines[index].split(" #")[0].strip() == command:
                example.outputs[index] = output
                return
    sys.exit(f"{doc}: no '{command}' in the example before its output block")


def transcript(example, setup):
    """The cram transcript of one example."""
    out = [f"{example.doc} line {example.line}, as the doc shows it.", "",
           f'  $ . "{setup}"', '  $ mkdir build && ln -s "$TARVEX_BIN_DIR" build/bin']
    for index, line in enumerate(example.lines):
        command = line.replace("/tmp/", "$TMPDIR/")
        if not PROGRAM.match(command):
            out.append(f"  $ {command}")
            continue
        expected = example.outputs.get(index)
        if expected is None:
            out += [f"  $ {{ {command}", "  > } >/dev/null"]
            continue
        if expected and expected[-1] == "...":
            expected = expected[:-1]
            out += [f"  $ {{ {command}", "  > } >output", f"  $ head -n {len(expected)} output"]
        else:
            out.append(f"  $ {command}")
        for text in expected:
            if TIMESTAMP.search(text):
                parts = [re.escape(part).replace("\\ ", " ") for part in TIMESTAMP.split(text)]
                text = TIMESTAMP.pattern.join(parts) + " (re)"
            out.append(f"  {text}".rstrip() if text else "  ")
    return "\n".join(out) + "\n"


def main():
    source, out_dir, cram = sys.argv[1:]
    setup = os.path.join(os.path.dirname(os.path.abspath(__file__)), "setup.sh")
    docs = ["README.md"] + sorted(
        "docs/" + name for name in os.listdir(os.path.join(source, "docs")) if name.endswith(".md"))
    os.makedirs(out_dir, exist_ok=True)
    for old in os.listdir(out_dir):
        os.remove(os.path.join(out_dir, old))
    man_dir = os.environ["TARVEX_MAN_DIR"]
    docs += sorted(os.path.join(man_dir, name) for name in os.listdir(man_dir)
                   if name.endswith(".1"))
    transcripts = []
    for doc in docs:
        with open(os.path.join(source, doc), encoding="utf-8") as f:
            read = man_examples_of if doc.endswith(".1") else examples_of
            examples = read(doc, f.read())
        print(f"{doc}: {len(examples)} examples")
        if not examples and os.path.basename(doc) in MUST_HAVE_EXAMPLES:
            sys.exit(f"{doc}: no examples found; has the doc's form changed?")
        for example in examples:
            name = f"{os.path.splitext(os.path.basename(doc))[0]}-{example.line}.t"
            with open(os.path.join(out_dir, name), "w", encoding="utf-8") as f:
                f.write(transcript(example, setup))
            transcripts.append(os.path.join(out_dir, name))
    sys.stdout.flush()
    sys.exit(subprocess.call([cram, "--shell=/bin/bash", "--verbose"] + transcripts))


if __name__ == "__main__":
    main()
