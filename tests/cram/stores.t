The store as a user meets it: taken from the environment, and refused with
exit status 3 and one line, left exactly as it was, when it cannot be used.

  $ . "$TESTDIR/setup.sh"

Without --store, the store named by TARVEX_HOST_STORE, for both programs;
the default store is not made.

  $ export TARVEX_HOST_STORE=env.db
  $ tarvexcli storage filesystem mount -l scratch
  true
  $ tarvex-host dump | jq '.volumes[] | select(.name == "scratch").mounted'
  true
  $ unset TARVEX_HOST_STORE
  $ ls
  env.db
  env.db-shm
  env.db-wal

A store named by --store or TARVEX_HOST_STORE is made only in a directory
that exists, so a mistyped path makes no host of its own; tarvex-host init
still makes what it is asked to. Each refusal is one line, status 3, and
leaves nothing behind: a missing directory, a directory, a symbolic link to
nothing, a path through a file, a path with a newline.

  $ tarvexcli --store trial/newdir/sub/host.db storage filesystem list
  tarvexcli: trial/newdir/sub/host.db: the directory trial/newdir/sub does not exist
  [3]
  $ TARVEX_HOST_STORE=trial/host.db tarvex-host dump
  tarvex-host: trial/host.db: the directory trial does not exist
  [3]
  $ mkdir adir
  $ tarvexcli --store adir storage filesystem list
  tarvexcli: adir: is a directory, not a store
  [3]
  $ ln -s nowhere/host.db dangling.db
  $ tarvexcli --store dangling.db storage filesystem list
  tarvexcli: dangling.db: is a symbolic link to a file that does not exist, not a store
  [3]
  $ tarvexcli --store env.db/host.db storage filesystem list
  tarvexcli: env.db/host.db: cannot access the store: Not a directory
  [3]
  $ tarvexcli --store $'new\nline.db' storage filesystem list
  tarvexcli: new\nline.db: a store's path may not hold control characters
  [3]
  $ tarvex-host --store $'new\nline.db' init
  tarvex-host: new\nline.db: a store's path may not hold control characters
  [3]
  $ ls -A adir; ls -d trial nowhere new* 2>&1
  ls: cannot access 'trial': No such file or directory
  ls: cannot access 'nowhere': No such file or directory
  ls: cannot access 'new*': No such file or directory
  [2]
  $ tarvex-host --store made/by/init/host.db init && ls made/by/init/host.db
  made/by/init/host.db
  $ rm -r adir dangling.db made

A file that is no store, through each program.

  $ echo "this is not a database, just some text of ours, more than a hundred bytes of it in all, surely" > text.db
  $ cp text.db before
  $ tarvexcli --store text.db storage filesystem list
  tarvexcli: text.db: not a SQLite database
  [3]
  $ tarvex-host --store text.db restart
  tarvex-host: text.db: not a SQLite database
  [3]
  $ echo ds1 | TARVEX_HOST_STORE=text.db notifyDatastore -t PreUnmount -i stdin
  notifyDatastore: text.db: not a SQLite database
  [3]
  $ cmp text.db before

A SQLite file's 100-byte header alone says whose file it is.

  $ sqlite3 other.db "PRAGMA application_id = 42; CREATE TABLE t(x)"
  $ head -c 100 other.db > header.db
  $ tarvexcli --store header.db storage filesystem list
  tarvexcli: header.db: not a tarvex host store (SQLite application id 0x0000002a)
  [3]

A store with a damaged page (a table's root overwritten), in WAL mode and in
rollback-journal mode: a store is never switched to WAL before it is known
to be sound.

  $ for mode in WAL DELETE; do
  >   tarvex-host --store $mode.db init
  >   sqlite3 $mode.db "PRAGMA journal_mode = $mode"
  >   head -c 4096 /dev/zero | tr '\0' '\377' | dd of=$mode.db bs=4096 seek=1 conv=notrunc status=none
  >   cp $mode.db before
  >   tarvexcli --store $mode.db storage nfs list; echo "exit $?"
  >   tarvex-host --store $mode.db dump; echo "exit $?"
  >   cmp $mode.db before
  > done
  wal
  tarvexcli: WAL.db: the store is corrupt
  exit 3
  tarvex-host: WAL.db: the store is corrupt
  exit 3
  delete
  tarvexcli: DELETE.db: the store is corrupt
  exit 3
  tarvex-host: DELETE.db: the store is corrupt
  exit 3

A store locked by another process for longer than the busy timeout (5 s):
with a writer in a transaction, reads go on and writes give up; with a
connection that keeps the file to itself, reads give up too. The store is
unchanged afterwards.

  $ tarvex-host --store locked.db init
  $ echo 'tarvex-host --store locked.db "$@" >/dev/null; echo "$* exit $?"' > try
  $ sqlite3 locked.db "BEGIN IMMEDIATE; UPDATE host SET name = 'busy';" ".system bash try dump" ".system bash try restart" ".system bash try --dry-run restart"
  dump exit 0
  tarvex-host: locked.db: the store is locked by another process (waited 5 s)
  restart exit 3
  tarvex-host: locked.db: the store is locked by another process (waited 5 s)
  dry run: no change
  --dry-run restart exit 3
  $ sqlite3 locked.db ".output /dev/null" "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; UPDATE host SET name = 'x';" ".system bash try dump"
  tarvex-host: locked.db: the store is locked by another process (waited 5 s)
  dump exit 3
  $ tarvex-host --store locked.db dump | jq -r .host
  hvx-lab-01.example.test
