# Sourced by every transcript: the built programs first on PATH, and a default
# store of the transcript's own (cram runs each in a fresh directory).
export PATH="$TARVEX_BIN_DIR:$PATH"
export XDG_STATE_HOME="$PWD/state"
unset TARVEX_HOST_STORE TARVEX_PLUGIN
