# bash completion for tarvex-host. Written by hand: the tool has no command
# tree to generate it from. Its subcommands and options are those of
# `tarvex-host --help` and `tarvex-host SUBCOMMAND --help`.

_tarvex_host() {
  local cword=$COMP_CWORD cur=${COMP_WORDS[COMP_CWORD]} prev='' word i
  local command='' action='' operands=0 words store=''
  COMPREPLY=()
  # bash splits "--name=value" at the '=': the option is the word before it.
  ((cword > 0)) && prev=${COMP_WORDS[cword - 1]}
  if [[ $cur == = ]]; then
    cur=''
  elif [[ $prev == = ]] && ((cword > 1)); then
    prev=${COMP_WORDS[cword - 2]}
  fi
  case $prev in
    --store | --fixture)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return
      ;;
    --operation | --object | --on-host)
      # The operations, or the objects or hosts of the store the line names,
      # from the tool itself (it reads the store without changing it).
      for ((i = 1; i < cword - 1; i++)); do
        [[ ${COMP_WORDS[i]} == --store ]] || continue
        store=${COMP_WORDS[i + 1]}
        [[ $store == = ]] && store=${COMP_WORDS[i + 2]-}
      done
      local -a ask=(--complete-names)
      case $prev in
        --operation) ask+=(fault-operation) ;;
        --object) ask+=(fault-object) ;;
        *) ask+=(host) ;;
      esac
      [[ -n $store ]] && ask=(--store "$store" "${ask[@]}")
      while IFS= read -r word; do
        printf -v word '%q' "$word"
        [[ $word == "$cur"* ]] && COMPREPLY+=("$word")
      done < <("${COMP_WORDS[0]}" "${ask[@]}" 2>/dev/null)
      return
      ;;
    --message | --nth | --times)
      return
      ;;
  esac

  # The subcommand, its action (fault, feature) and the operands after it;
  # --store and --on-host may stand anywhere and take a value.
  for ((i = 1; i < cword; i++)); do
    word=${COMP_WORDS[i]}
    case $word in
      --store | --on-host | --fixture | --operation | --object | --message | --nth | --times)
        ((i++))
        [[ ${COMP_WORDS[i]-} == = ]] && ((i++))
        # bash splits a value at each ':' ("/tmp/a:b"); the pieces are one value.
        while [[ ${COMP_WORDS[i + 1]-} == : ]] && ((i + 1 < cword)); do ((i += 2)); done
        ((i >= cword)) && return  # the cursor is inside that value
        ;;
      -*) ;;
      *)
        if [[ -z $command ]]; then
          command=$word
        elif [[ -z $action && ($command == fault || $command == feature) ]]; then
          action=$word
        else
          ((operands++))
        fi
        ;;
    esac
  done

  case $command in
    '') words='init dump restart fault feature events' ;;
    init) words='--fixture --force' ;;
    dump | restart) words='' ;;
    fault)
      case $action in
        '') words='add list clear' ;;
        add) words='--operation --object --message --nth --times' ;;
        *) words='' ;;
      esac
      ;;
    feature)
      case $action in
        '') words='list set' ;;
        set) [[ $operands == 1 ]] && words='on off' || words='' ;;
        *) words='' ;;
      esac
      ;;
    events) words='--json --clear' ;;
    *) return ;;
  esac
  if [[ $cur == -* ]]; then
    if [[ -z $command ]]; then
      words='--store --on-host --help --version'
    elif [[ $command == init ]]; then
      words="$(compgen -W "$words" -- -) --store --help"
    else
      words="$(compgen -W "$words" -- -) --store --on-host --help"
    fi
  fi
  mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
}

complete -F _tarvex_host tarvex-host
