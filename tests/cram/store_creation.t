A store is made whole or not at all, and what a creator that died left
behind is removed by the next use.

  $ . "$TESTDIR/setup.sh"
  $ sh -c 'exit 0' & dead=$!; wait
  $ touch h.db.new-$dead-1 h.db.new-$dead-1-journal h.db.new-$$-2
  $ tarvex-host --store h.db init
  $ ls
  h.db
  h.db.new-*-2 (glob)

A fixture the loader cannot read is refused with one line naming it, and no
store is made.

  $ printf '{"format": 1, "unmap": {"granularity": 10e8576}}' >overflow.json
  $ tarvex-host --store bad.db init --fixture overflow.json
  tarvex-host: overflow.json: number overflow parsing '10e8576'
  [1]
  $ ls bad.db
  ls: cannot access 'bad.db': No such file or directory
  [2]

A symbolic link to nothing is not a store.

  $ ln -s missing.db link.db
  $ tarvex-host --store link.db init
  tarvex-host: link.db: is a symbolic link to a file that does not exist, not a store
  [3]
  $ tarvexcli --store link.db storage filesystem list
  tarvexcli: link.db: is a symbolic link to a file that does not exist, not a store
  [3]
