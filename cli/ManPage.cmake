# Writes the man page tamsel-cli.1 from the program's own help, so that the page never
# drifts from the options. Run at build time as
#   cmake -DCLI=<tamsel-cli> -DVERSION=<x.y.z> -DOUTPUT=<tamsel-cli.1> -P ManPage.cmake
# The help texts are set as preformatted blocks; troff's control characters are escaped.

function(help_of out)
  execute_process(COMMAND "${CLI}" ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CLI} ${ARGN} --help failed: ${status}")
  endif()
  string(REPLACE "\\" "\\e" text "${text}")
  # A line that starts with a period or an apostrophe would be read as a request.
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

help_of(main_help)
help_of(compute_help compute)
help_of(simulate_help simulate)

file(WRITE "${OUTPUT}" ".TH TAMSEL-CLI 1 \"\" \"Tamsel ${VERSION}\" \"User Commands\"
.SH NAME
tamsel-cli \\- repeated-measures ANOVA and MANOVA, and Monte-Carlo simulation of their alpha error and power
.SH SYNOPSIS
.B tamsel-cli compute
[\\fIOPTIONS\\fR] [\\fIPROJECT\\fR]
.br
.B tamsel-cli simulate
[\\fIOPTIONS\\fR] [\\fIPROJECT\\fR]
.SH DESCRIPTION
.B tamsel-cli
runs the commands of the desktop program
.B tamsel
on the command line. It reads a project file (.vlt) or imports a delimited text file with one
row per participant and one column per within-cell combination or group variable.
.PP
.B compute
prints, for every main effect and interaction of the design, the repeated-measures ANOVA and
the MANOVA tests, as text, CSV or JSON.
.PP
.B simulate
estimates the alpha error probability or the power of one analysis of one effect by
Monte-Carlo simulation, also for sequential designs that enlarge a non-significant sample and
test again.
.SH OVERVIEW
.nf
${main_help}.fi
.SH COMPUTE
.nf
${compute_help}.fi
.SH SIMULATE
.nf
${simulate_help}.fi
.SH EXIT STATUS
0 on success, 1 after an error in the input (its message on standard error), 2 on wrong
usage, 130 when a simulation was interrupted.
.SH FILES
.TP
.I /usr/share/tamsel/examples/
example projects, e.g.
.B tamsel-cli compute /usr/share/tamsel/examples/reaction-times.vlt
.TP
.I /usr/share/doc/tamsel/Tamsel User Manual.pdf
the user manual
")
